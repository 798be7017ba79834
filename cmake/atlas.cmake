# The world atlas behind the place lookup: assets/atlas.bin (made by tools/atlas/build_atlas.py)
# compiled into the program, and the model that searches it.
enable_language(ASM)
find_package(ZLIB REQUIRED)

set(SOLVANE_ATLAS_FILE ${CMAKE_CURRENT_SOURCE_DIR}/assets/atlas.bin)
add_library(solvane_atlas STATIC
  src/entry/atlas.cpp
  src/entry/atlas.h
  src/entry/atlas_data.S
)
target_include_directories(solvane_atlas PUBLIC ${CMAKE_CURRENT_SOURCE_DIR}/src)
target_link_libraries(solvane_atlas PUBLIC solvane_core ZLIB::ZLIB)
# .incbin reads the file at assembly time: the build must know to assemble again when it changes.
set_source_files_properties(src/entry/atlas_data.S PROPERTIES
  OBJECT_DEPENDS ${SOLVANE_ATLAS_FILE}
  COMPILE_DEFINITIONS "SOLVANE_ATLAS_FILE=\"${SOLVANE_ATLAS_FILE}\"")

target_link_libraries(solvane_model PUBLIC solvane_atlas)

if(TARGET solvane_desktop)
  target_sources(solvane_desktop PRIVATE src/entry/place_finder.cpp src/entry/place_finder.h)
endif()

if(SOLVANE_BUILD_TESTS AND TARGET solvane_cli)
  find_package(GTest REQUIRED)
  find_package(nlohmann_json 3 REQUIRED)
  include(GoogleTest)
  # The atlas with the command line's answers to --find-place, which read it.
  add_executable(solvane_atlas_tests tests/entry/atlas_test.cpp tests/cli/places_test.cpp)
  target_include_directories(solvane_atlas_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/tests)
  target_link_libraries(solvane_atlas_tests PRIVATE solvane_cli nlohmann_json::nlohmann_json
                                                    GTest::gtest GTest::gtest_main)
  gtest_discover_tests(solvane_atlas_tests DISCOVERY_TIMEOUT 60)
endif()

if(SOLVANE_BUILD_BENCH)
  find_package(benchmark REQUIRED)
  # Warm lookups in process; with --first QUERY, one lookup from a cold start, for timing the
  # whole process.
  add_executable(solvane_atlas_bench tools/atlas/atlas_bench.cpp)
  target_link_libraries(solvane_atlas_bench PRIVATE solvane_atlas benchmark::benchmark)
endif()
