# solvane-chart's birth moment from a place and the tz database (--place, --tz, exact offsets in
# --zone, --fold, and the batch's columns of the same names), tested through the program itself.
target_link_libraries(solvane_cli PUBLIC solvane_zones solvane_atlas)

if(SOLVANE_BUILD_TESTS)
  find_package(GTest REQUIRED)
  find_package(nlohmann_json 3 REQUIRED)
  include(GoogleTest)
  add_executable(solvane_zone_cli_tests
    tests/cli/zone_cli_program_test.cpp
  )
  target_include_directories(solvane_zone_cli_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/tests)
  target_link_libraries(solvane_zone_cli_tests PRIVATE solvane_cli nlohmann_json::nlohmann_json
                                                       GTest::gtest GTest::gtest_main)
  target_compile_definitions(solvane_zone_cli_tests PRIVATE
    SOLVANE_CHART_EXE="$<TARGET_FILE:solvane-chart>"
    SOLVANE_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
  add_dependencies(solvane_zone_cli_tests solvane-chart)
  gtest_discover_tests(solvane_zone_cli_tests DISCOVERY_TIMEOUT 60)
endif()
