# The chart as a picture: solvane-chart --svg, "Save chart as picture…" in the chart window, and
# the pictures of the chart styles for the README. Read from cli_drawing.cmake.
if(SOLVANE_BUILD_DESKTOP)
  # The chart window in each square style, for tools/screenshots.
  add_library(solvane_chart_shots STATIC
    tools/screenshots/chart_shots.cpp
    tools/screenshots/chart_shots.h
  )
  target_include_directories(solvane_chart_shots PUBLIC ${CMAKE_CURRENT_SOURCE_DIR}/tools)
  target_link_libraries(solvane_chart_shots PUBLIC solvane_desktop)
  if(TARGET solvane_screenshots)
    target_link_libraries(solvane_screenshots PRIVATE solvane_chart_shots)
  endif()
endif()

if(SOLVANE_BUILD_TESTS AND SOLVANE_BUILD_DESKTOP)
  find_package(Qt6 REQUIRED COMPONENTS Test)
  # The pictures as files: the drawing library, and solvane-chart run as users run it.
  add_executable(chart_picture_files_qtest tests/display/chart_picture_files_qtest.cpp)
  set_target_properties(chart_picture_files_qtest PROPERTIES AUTOMOC ON)
  target_include_directories(chart_picture_files_qtest PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/tests)
  target_link_libraries(chart_picture_files_qtest PRIVATE solvane_chart_style_painter solvane_model
                                                          Qt6::Test)
  target_compile_definitions(chart_picture_files_qtest PRIVATE
                             SOLVANE_CHART_PROGRAM="$<TARGET_FILE:solvane-chart>")
  add_dependencies(chart_picture_files_qtest solvane-chart)
  add_test(NAME chart_picture_files_qtest COMMAND chart_picture_files_qtest)
  set_tests_properties(chart_picture_files_qtest PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")

  # The chart window's picture, engine and year choices.
  add_executable(chart_picture_window_qtest tests/display/chart_picture_window_qtest.cpp)
  set_target_properties(chart_picture_window_qtest PROPERTIES AUTOMOC ON)
  target_include_directories(chart_picture_window_qtest PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/tests)
  target_link_libraries(chart_picture_window_qtest PRIVATE solvane_desktop Qt6::Test)
  add_test(NAME chart_picture_window_qtest COMMAND chart_picture_window_qtest)
  set_tests_properties(chart_picture_window_qtest PROPERTIES
                       ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endif()
