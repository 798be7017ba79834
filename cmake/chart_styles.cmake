# The Indian square charts: the geometry and layout model (plain C++) and the one drawing code of
# the square charts and the wheel (QPainter, Qt Gui and Svg only, so that the command line can
# draw offscreen).
add_library(solvane_chart_style STATIC
  src/display/chart_style.cpp
  src/display/chart_style.h
)
target_include_directories(solvane_chart_style PUBLIC ${CMAKE_CURRENT_SOURCE_DIR}/src)
target_link_libraries(solvane_chart_style PUBLIC solvane_core)

if(SOLVANE_BUILD_DESKTOP)
  find_package(Qt6 6.4 REQUIRED COMPONENTS Gui Svg)
  # The wheel picture and the sign glyphs live here rather than in the desktop's resources, so
  # that the command line draws the wheel too.
  add_library(solvane_chart_style_painter STATIC
    src/display/chart_style_painter.cpp
    src/display/chart_style_painter.h
    src/display/wheel_painter.cpp
    src/display/wheel_painter.h
    assets/chart_pictures.qrc
  )
  set_target_properties(solvane_chart_style_painter PROPERTIES AUTORCC ON)
  target_link_libraries(solvane_chart_style_painter PUBLIC solvane_chart_style solvane_model
                                                           Qt6::Gui Qt6::Svg)

  # The desktop library is defined after this file is read: the chart window draws the styles.
  function(solvane_chart_styles_link_desktop)
    if(TARGET solvane_desktop)
      target_link_libraries(solvane_desktop PUBLIC solvane_chart_style_painter)
    endif()
  endfunction()
  cmake_language(DEFER CALL solvane_chart_styles_link_desktop)
endif()

if(SOLVANE_BUILD_TESTS)
  find_package(GTest REQUIRED)
  include(GoogleTest)
  add_executable(chart_style_test tests/display/chart_style_test.cpp)
  target_link_libraries(chart_style_test PRIVATE solvane_chart_style GTest::gtest GTest::gtest_main)
  gtest_discover_tests(chart_style_test DISCOVERY_TIMEOUT 60)

  if(SOLVANE_BUILD_DESKTOP)
    find_package(Qt6 REQUIRED COMPONENTS Test)
    add_executable(chart_style_painter_qtest tests/display/chart_style_painter_qtest.cpp)
    set_target_properties(chart_style_painter_qtest PROPERTIES AUTOMOC ON)
    target_link_libraries(chart_style_painter_qtest PRIVATE solvane_chart_style_painter Qt6::Test)
    add_test(NAME chart_style_painter_qtest COMMAND chart_style_painter_qtest)
    set_tests_properties(chart_style_painter_qtest PROPERTIES
                         ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
  endif()
endif()

if(SOLVANE_BUILD_BENCH AND SOLVANE_BUILD_DESKTOP)
  find_package(benchmark REQUIRED)
  add_executable(chart_style_bench bench/chart_style_bench.cpp bench/offscreen_bench_main.cpp)
  target_link_libraries(chart_style_bench PRIVATE solvane_chart_style_painter benchmark::benchmark)
endif()
