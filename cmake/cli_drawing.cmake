# solvane-chart's --pdf and --svg draw with the desktop program's drawing code (Qt Gui, offscreen);
# a build without the desktop program refuses them with a message.
include(cmake/chart_sheet.cmake OPTIONAL)
include(cmake/chart_picture.cmake OPTIONAL)

if(SOLVANE_BUILD_DESKTOP)
  find_package(Qt6 6.4 REQUIRED COMPONENTS Gui)
  add_library(solvane_cli_drawing STATIC
    src/cli/gui_session.cpp
    src/cli/pdf_output.cpp
    src/cli/picture_output.cpp
  )
  target_link_libraries(solvane_cli_drawing PUBLIC solvane_cli solvane_chart_style_painter Qt6::Gui)
  if(TARGET solvane_chart_sheet)
    target_link_libraries(solvane_cli_drawing PUBLIC solvane_chart_sheet)
  endif()
else()
  add_library(solvane_cli_drawing STATIC src/cli/no_drawing.cpp)
  target_link_libraries(solvane_cli_drawing PUBLIC solvane_cli)
endif()
target_link_libraries(solvane-chart PRIVATE solvane_cli_drawing)
