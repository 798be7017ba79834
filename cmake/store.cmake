# Saved births: the SQLite list (pure C++), its window, tests and benchmark.
find_package(SQLite3 REQUIRED)
add_library(solvane_store STATIC
  src/store/birth_record.cpp
  src/store/births_file.cpp
  src/store/births_store.cpp
  src/store/births_store_changes.cpp
  src/store/search_fold.cpp
  src/store/sqlite_statement.cpp
  src/store/store_open.cpp
  src/store/store_rows.cpp
  src/store/store_salvage.cpp
  src/store/store_schema.cpp
)
target_include_directories(solvane_store PUBLIC ${CMAKE_CURRENT_SOURCE_DIR}/src)
target_link_libraries(solvane_store PUBLIC solvane_core SQLite::SQLite3)
# solvane-chart reaches the list through the model library.
target_link_libraries(solvane_model PUBLIC solvane_store)

if(SOLVANE_BUILD_DESKTOP)
  find_package(Qt6 6.4 REQUIRED COMPONENTS Widgets)
  add_library(solvane_store_window STATIC
    src/store/person_list_window.cpp
    src/store/person_list_window.h
  )
  set_target_properties(solvane_store_window PROPERTIES AUTOMOC ON)
  target_link_libraries(solvane_store_window PUBLIC solvane_store Qt6::Widgets)

  # The desktop library is defined after this file is read: link the window into it at the end.
  function(solvane_store_link_desktop)
    if(TARGET solvane_desktop)
      target_link_libraries(solvane_desktop PUBLIC solvane_store_window)
    endif()
  endfunction()
  cmake_language(DEFER CALL solvane_store_link_desktop)
endif()

if(SOLVANE_BUILD_TESTS)
  find_package(GTest REQUIRED)
  include(GoogleTest)
  # Saves in a loop until killed or done: the crash and two-process tests run it.
  add_executable(solvane_store_writer tests/store/store_writer.cpp)
  target_link_libraries(solvane_store_writer PRIVATE solvane_store)

  add_executable(solvane_store_tests
    tests/store/search_fold_test.cpp
    tests/store/births_store_test.cpp
    tests/store/births_file_test.cpp
    tests/store/store_faults_test.cpp
  )
  target_include_directories(solvane_store_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/tests)
  target_link_libraries(solvane_store_tests PRIVATE solvane_store GTest::gtest GTest::gtest_main)
  target_compile_definitions(solvane_store_tests PRIVATE
    SOLVANE_STORE_WRITER="$<TARGET_FILE:solvane_store_writer>"
    SOLVANE_STORE_DATA="${CMAKE_CURRENT_SOURCE_DIR}/tests/store/data")
  add_dependencies(solvane_store_tests solvane_store_writer)
  gtest_discover_tests(solvane_store_tests DISCOVERY_TIMEOUT 60)

  if(SOLVANE_BUILD_DESKTOP)
    find_package(Qt6 REQUIRED COMPONENTS Test)
    add_executable(person_list_qtest tests/store/person_list_qtest.cpp)
    set_target_properties(person_list_qtest PROPERTIES AUTOMOC ON)
    target_include_directories(person_list_qtest PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/tests)
    target_link_libraries(person_list_qtest PRIVATE solvane_store_window Qt6::Test GTest::gtest)
    add_test(NAME person_list_qtest COMMAND person_list_qtest)
    set_tests_properties(person_list_qtest PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
  endif()
endif()

if(SOLVANE_BUILD_BENCH)
  find_package(benchmark REQUIRED)
  add_executable(solvane_store_bench bench/store_bench.cpp)
  # The command line's import (its CSV reader and the form's checks) is measured here too.
  target_link_libraries(solvane_store_bench PRIVATE solvane_store solvane_cli benchmark::benchmark)
endif()
