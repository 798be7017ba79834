# The precise positions engine: fitted tables (generated, committed), Delta T, apparent places.
# ERFA supplies precession, nutation and sidereal time.
find_package(PkgConfig REQUIRED)
pkg_check_modules(ERFA REQUIRED IMPORTED_TARGET erfa)

option(SOLVANE_GENERATE_PRECISE
       "Test that the precise tables regenerate byte for byte (needs node and the npm registry)" OFF)

add_library(solvane_precise STATIC
  src/precise/chebyshev.h
  src/precise/delta_t.cpp
  src/precise/precise_engine.cpp
  src/precise/precise_engine.h
  src/precise/precise_positions.cpp
  src/precise/precise_positions.h
  src/precise/precise_tables.cpp
  src/precise/precise_tables.h
)
target_include_directories(solvane_precise PUBLIC ${CMAKE_CURRENT_SOURCE_DIR}/src)
target_link_libraries(solvane_precise PUBLIC solvane_core PRIVATE PkgConfig::ERFA)
# The chart run reaches the precise engine through the model library.
target_link_libraries(solvane_model PUBLIC solvane_precise)

# The table generator: a maintainer's tool, built on demand (or for the regeneration test).
set(SOLVANE_PRECISE_TOOLS ${CMAKE_CURRENT_SOURCE_DIR}/tools/precise_tables)
if(SOLVANE_GENERATE_PRECISE)
  set(precise_generator_exclude "")
else()
  set(precise_generator_exclude EXCLUDE_FROM_ALL)
endif()
add_executable(generate_precise_tables ${precise_generator_exclude}
  ${SOLVANE_PRECISE_TOOLS}/apparent.cpp
  ${SOLVANE_PRECISE_TOOLS}/apparent.h
  ${SOLVANE_PRECISE_TOOLS}/generate_precise_tables.cpp
  ${SOLVANE_PRECISE_TOOLS}/theory.cpp
  ${SOLVANE_PRECISE_TOOLS}/theory.h
)
target_link_libraries(generate_precise_tables PRIVATE PkgConfig::ERFA)

find_program(NODE_EXECUTABLE NAMES node nodejs)
set(precise_regenerate_args
  -DNODE=${NODE_EXECUTABLE}
  -DEXTRACTOR=${SOLVANE_PRECISE_TOOLS}/extract_astronomia.mjs
  -DGENERATOR=$<TARGET_FILE:generate_precise_tables>)

# Rewrites the committed tables in place (takes a few minutes).
add_custom_target(regenerate_precise_tables
  COMMAND ${CMAKE_COMMAND} ${precise_regenerate_args}
          -DWORK=${CMAKE_CURRENT_BINARY_DIR}/precise_tables
          -DOUTPUT=${CMAKE_CURRENT_SOURCE_DIR}/src/precise/precise_tables.cpp
          -P ${SOLVANE_PRECISE_TOOLS}/regenerate.cmake
  DEPENDS generate_precise_tables
  COMMENT "Regenerating src/precise/precise_tables.cpp"
  VERBATIM)

if(SOLVANE_BUILD_TESTS)
  find_package(GTest REQUIRED)
  include(GoogleTest)
  add_executable(solvane_precise_tests
    tests/precise/accuracy_test.cpp
    tests/precise/delta_t_test.cpp
    tests/precise/engine_test.cpp
    tests/precise/reference_table.cpp
    tests/precise/reference_table.h
  )
  target_link_libraries(solvane_precise_tests PRIVATE solvane_precise PkgConfig::ERFA
                                                      GTest::gtest_main)
  target_compile_definitions(solvane_precise_tests PRIVATE
    SOLVANE_PRECISE_REFERENCE="${CMAKE_CURRENT_SOURCE_DIR}/tests/precise/data/precise_reference.tsv")
  gtest_discover_tests(solvane_precise_tests DISCOVERY_TIMEOUT 60)

  if(SOLVANE_GENERATE_PRECISE)
    # The committed tables must be exactly what the generator writes from the pinned data today.
    add_test(NAME precise_tables_up_to_date
      COMMAND ${CMAKE_COMMAND} ${precise_regenerate_args}
              -DWORK=${CMAKE_CURRENT_BINARY_DIR}/precise_tables_check
              -DOUTPUT=${CMAKE_CURRENT_BINARY_DIR}/precise_tables_check/precise_tables.cpp
              -DCOMPARE_WITH=${CMAKE_CURRENT_SOURCE_DIR}/src/precise/precise_tables.cpp
              -P ${SOLVANE_PRECISE_TOOLS}/regenerate.cmake)
    set_tests_properties(precise_tables_up_to_date PROPERTIES TIMEOUT 3600)
  endif()
endif()

if(SOLVANE_BUILD_BENCH)
  find_package(benchmark REQUIRED)
  add_executable(solvane_precise_bench bench/precise_bench.cpp)
  target_link_libraries(solvane_precise_bench PRIVATE solvane_precise benchmark::benchmark)
endif()
