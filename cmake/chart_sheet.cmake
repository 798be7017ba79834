# The chart sheet: its texts as a plain model, and the PDF drawn with Qt Gui (no Widgets) so that
# solvane-chart --pdf runs without a display. Read from cli_drawing.cmake, after the desktop
# program's library is defined.
add_library(solvane_chart_sheet_model STATIC
  src/display/chart_sheet_model.cpp
  src/display/chart_sheet_model.h
)
target_link_libraries(solvane_chart_sheet_model PUBLIC solvane_model)

if(SOLVANE_BUILD_DESKTOP)
  find_package(Qt6 6.4 REQUIRED COMPONENTS Gui)
  add_library(solvane_chart_sheet STATIC
    src/display/chart_sheet.cpp
    src/display/chart_sheet.h
  )
  target_link_libraries(solvane_chart_sheet PUBLIC solvane_chart_sheet_model
                                                   solvane_chart_style_painter Qt6::Gui)
  if(TARGET solvane_desktop)
    target_link_libraries(solvane_desktop PUBLIC solvane_chart_sheet)
  endif()
endif()

if(SOLVANE_BUILD_TESTS)
  find_package(GTest REQUIRED)
  include(GoogleTest)
  add_executable(chart_sheet_model_test tests/display/chart_sheet_model_test.cpp)
  target_link_libraries(chart_sheet_model_test PRIVATE solvane_chart_sheet_model
                                                       GTest::gtest GTest::gtest_main)
  gtest_discover_tests(chart_sheet_model_test DISCOVERY_TIMEOUT 60)

  if(SOLVANE_BUILD_DESKTOP)
    # The sheet through the real program, read back with poppler-utils.
    find_package(nlohmann_json 3 REQUIRED)
    add_executable(chart_sheet_pdf_test tests/display/chart_sheet_pdf_test.cpp)
    target_link_libraries(chart_sheet_pdf_test PRIVATE solvane_chart_sheet solvane_model
                                                       nlohmann_json::nlohmann_json
                                                       GTest::gtest GTest::gtest_main)
    target_compile_definitions(chart_sheet_pdf_test PRIVATE
      SOLVANE_CHART_EXE="$<TARGET_FILE:solvane-chart>")
    add_dependencies(chart_sheet_pdf_test solvane-chart)
    gtest_discover_tests(chart_sheet_pdf_test DISCOVERY_TIMEOUT 60)

    find_package(Qt6 REQUIRED COMPONENTS Test)
    add_executable(chart_sheet_save_window_qtest tests/report/chart_sheet_save_window_qtest.cpp)
    set_target_properties(chart_sheet_save_window_qtest PROPERTIES AUTOMOC ON)
    target_include_directories(chart_sheet_save_window_qtest PRIVATE
                               ${CMAKE_CURRENT_SOURCE_DIR}/tests)
    target_link_libraries(chart_sheet_save_window_qtest PRIVATE solvane_desktop Qt6::Test)
    add_test(NAME chart_sheet_save_window_qtest COMMAND chart_sheet_save_window_qtest)
    set_tests_properties(chart_sheet_save_window_qtest PROPERTIES
                         ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
  endif()
endif()

if(SOLVANE_BUILD_BENCH AND SOLVANE_BUILD_DESKTOP)
  find_package(benchmark REQUIRED)
  add_executable(chart_sheet_bench bench/chart_sheet_bench.cpp bench/offscreen_bench_main.cpp)
  target_link_libraries(chart_sheet_bench PRIVATE solvane_chart_sheet solvane_model
                                                  benchmark::benchmark)
  target_compile_definitions(chart_sheet_bench PRIVATE
    SOLVANE_CHART_EXE="$<TARGET_FILE:solvane-chart>")
endif()
