# The entry form's birth moment: the exact offset, the zone suggestion and the question at Proceed.
# The form itself is part of solvane_desktop; these are its window tests and its pictures.
if(SOLVANE_BUILD_DESKTOP)
  add_library(solvane_entry_shots STATIC tools/screenshots/entry_shots.cpp
                                         tools/screenshots/entry_shots.h)
  target_include_directories(solvane_entry_shots PUBLIC ${CMAKE_CURRENT_SOURCE_DIR}/tools)
  target_link_libraries(solvane_entry_shots PUBLIC solvane_desktop)
  if(TARGET solvane_screenshots)
    target_link_libraries(solvane_screenshots PRIVATE solvane_entry_shots)
  endif()

  if(SOLVANE_BUILD_TESTS)
    find_package(Qt6 REQUIRED COMPONENTS Test)
    find_package(nlohmann_json 3 REQUIRED)  # reads solvane-chart's JSON back
    foreach(name entry_moment_form_qtest entry_moment_flow_qtest)
      add_executable(${name} tests/entry/${name}.cpp)
      set_target_properties(${name} PROPERTIES AUTOMOC ON)
      target_include_directories(${name} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/tests)
      target_link_libraries(${name} PRIVATE solvane_entry_shots Qt6::Test
                                            nlohmann_json::nlohmann_json)
      add_test(NAME ${name} COMMAND ${name})
      set_tests_properties(${name} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
    endforeach()
    # The flow is compared with the command line's chart of the same birth.
    target_compile_definitions(entry_moment_flow_qtest PRIVATE
      SOLVANE_CHART_EXE="$<TARGET_FILE:solvane-chart>")
    add_dependencies(entry_moment_flow_qtest solvane-chart)
  endif()
endif()
