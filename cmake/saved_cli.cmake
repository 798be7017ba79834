# Saved births on the command line: --save, --saved, --list-saved, --export-saved, --import-saved.
target_sources(solvane_cli PRIVATE
  src/cli/saved_csv.cpp
  src/cli/saved_list.cpp
)

if(SOLVANE_BUILD_TESTS)
  find_package(GTest REQUIRED)
  find_package(nlohmann_json REQUIRED)
  include(GoogleTest)
  add_executable(saved_cli_tests
    tests/cli/saved_cli_files_test.cpp
    tests/cli/saved_cli_program_test.cpp
  )
  target_include_directories(saved_cli_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/tests)
  target_link_libraries(saved_cli_tests PRIVATE solvane_cli nlohmann_json::nlohmann_json
                        GTest::gtest GTest::gtest_main)
  target_compile_definitions(saved_cli_tests PRIVATE
    SOLVANE_CHART_EXE="$<TARGET_FILE:solvane-chart>")
  add_dependencies(saved_cli_tests solvane-chart)
  gtest_discover_tests(saved_cli_tests DISCOVERY_TIMEOUT 60)
endif()
