# Time zones from the operating system's tz database (Debian's tzdata), read through H. Hinnant's
# date/tz library; the 71 zones of the entry form live here too.
find_package(date REQUIRED)  # date::date-tz defines USE_OS_TZDB=1: /usr/share/zoneinfo, no downloads

add_library(solvane_zones STATIC
  src/zones/offset_text.cpp
  src/zones/posix_rule.cpp
  src/zones/suggestion.cpp
  src/zones/zone_lookup.cpp
  src/zones/zone_rules.cpp
  src/zones/time_zones.cpp
)
target_include_directories(solvane_zones PUBLIC ${CMAKE_CURRENT_SOURCE_DIR}/src)
target_link_libraries(solvane_zones PUBLIC solvane_core PRIVATE date::date-tz)

target_link_libraries(solvane_model PUBLIC solvane_zones)

if(SOLVANE_BUILD_TESTS)
  find_package(GTest REQUIRED)
  include(GoogleTest)
  add_executable(solvane_zones_tests
    tests/zones/offset_text_test.cpp
    tests/zones/posix_rule_test.cpp
    tests/zones/time_zones_test.cpp
    tests/zones/zone_lookup_test.cpp
    tests/zones/zdump_test.cpp
  )
  target_link_libraries(solvane_zones_tests PRIVATE solvane_zones GTest::gtest GTest::gtest_main)
  gtest_discover_tests(solvane_zones_tests DISCOVERY_TIMEOUT 60)
endif()

if(SOLVANE_BUILD_BENCH)
  find_package(benchmark REQUIRED)
  add_executable(solvane_zones_bench bench/zones_bench.cpp)
  target_link_libraries(solvane_zones_bench PRIVATE solvane_zones benchmark::benchmark)
endif()
