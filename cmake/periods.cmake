# Nakshatras, navamsa and Vimshottari periods: the pure model, its window view, tests and benchmark.
add_library(solvane_periods STATIC
  src/vedic/nakshatra.cpp
  src/vedic/dasha.cpp
)
target_include_directories(solvane_periods PUBLIC ${CMAKE_CURRENT_SOURCE_DIR}/src)
target_link_libraries(solvane_periods PUBLIC solvane_core)
# The chart run and the command line reach the periods through the model library.
target_link_libraries(solvane_model PUBLIC solvane_periods)

if(SOLVANE_BUILD_DESKTOP)
  find_package(Qt6 6.4 REQUIRED COMPONENTS Widgets)
  add_library(solvane_periods_view STATIC
    src/display/periods_view.cpp
    src/display/periods_view.h
  )
  set_target_properties(solvane_periods_view PROPERTIES AUTOMOC ON)
  target_link_libraries(solvane_periods_view PUBLIC solvane_periods Qt6::Widgets)

  # The desktop library is defined after this file is read: link the view into it at the end.
  function(solvane_periods_link_desktop)
    if(TARGET solvane_desktop)
      target_link_libraries(solvane_desktop PUBLIC solvane_periods_view)
    endif()
  endfunction()
  cmake_language(DEFER CALL solvane_periods_link_desktop)
endif()

if(SOLVANE_BUILD_TESTS)
  find_package(GTest REQUIRED)
  include(GoogleTest)
  add_executable(solvane_periods_tests
    tests/vedic/nakshatra_test.cpp
    tests/vedic/dasha_test.cpp
  )
  target_link_libraries(solvane_periods_tests PRIVATE solvane_periods GTest::gtest GTest::gtest_main)
  gtest_discover_tests(solvane_periods_tests DISCOVERY_TIMEOUT 60)

  if(SOLVANE_BUILD_DESKTOP)
    find_package(Qt6 REQUIRED COMPONENTS Test)
    add_executable(periods_view_qtest tests/display/periods_view_qtest.cpp)
    set_target_properties(periods_view_qtest PROPERTIES AUTOMOC ON)
    target_link_libraries(periods_view_qtest PRIVATE solvane_periods_view Qt6::Test)
    add_test(NAME periods_view_qtest COMMAND periods_view_qtest)
    set_tests_properties(periods_view_qtest PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
  endif()
endif()

if(SOLVANE_BUILD_BENCH)
  find_package(benchmark REQUIRED)
  add_executable(solvane_periods_bench bench/periods_bench.cpp)
  target_link_libraries(solvane_periods_bench PRIVATE solvane_periods benchmark::benchmark)
endif()
