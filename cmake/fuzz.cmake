# Fuzz targets: each tests/fuzz/<name>_fuzz.cpp defines LLVMFuzzerTestOneInput over one input
# surface, with its saved inputs in tests/fuzz/corpus/<name>/.
#
#   -DSOLVANE_FUZZ=ON (clang only): libFuzzer programs build/fuzz/fuzz_<name> with
#     AddressSanitizer and UndefinedBehaviorSanitizer; scripts/fuzz runs them.
#   otherwise, with the tests: replay_<name> runs the target once over every saved input, as an
#     ordinary test in every build (plain and sanitised).
option(SOLVANE_FUZZ "Build the libFuzzer targets (needs clang)" OFF)

set(SOLVANE_FUZZ_TARGETS csv_batch flags entry_form house_report rtf_writer)
set(solvane_fuzz_dir ${CMAKE_CURRENT_SOURCE_DIR}/tests/fuzz)

if(SOLVANE_FUZZ OR SOLVANE_BUILD_TESTS)
  find_package(nlohmann_json 3 REQUIRED)  # the batch's and the flags' output read back
endif()

function(solvane_fuzz_target_sources name out)
  set(${out} ${solvane_fuzz_dir}/${name}_fuzz.cpp PARENT_SCOPE)
endfunction()

if(SOLVANE_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "SOLVANE_FUZZ needs clang (libFuzzer): configure with "
                        "-DCMAKE_CXX_COMPILER=clang++-14")
  endif()
  # Coverage guidance and the sanitizers for every library the targets reach, so the fuzzer sees
  # the branches inside them and the sanitizers watch their memory.
  foreach(library solvane_model solvane_cli)
    target_compile_options(${library} PRIVATE -fsanitize=fuzzer-no-link,address,undefined
                                               -fno-sanitize-recover=all -fno-omit-frame-pointer)
  endforeach()
  # The program itself, built from the same instrumented libraries, so the whole build links.
  target_link_options(solvane-chart PRIVATE -fsanitize=address,undefined)
  foreach(name ${SOLVANE_FUZZ_TARGETS})
    solvane_fuzz_target_sources(${name} sources)
    add_executable(fuzz_${name} ${sources})
    target_include_directories(fuzz_${name} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/tests)
    target_link_libraries(fuzz_${name} PRIVATE solvane_cli nlohmann_json::nlohmann_json)
    target_compile_options(fuzz_${name} PRIVATE -fsanitize=fuzzer,address,undefined
                                                -fno-sanitize-recover=all -fno-omit-frame-pointer)
    target_link_options(fuzz_${name} PRIVATE -fsanitize=fuzzer,address,undefined)
  endforeach()
elseif(SOLVANE_BUILD_TESTS)
  add_library(solvane_fuzz_replay OBJECT ${solvane_fuzz_dir}/replay_main.cpp)
  foreach(name ${SOLVANE_FUZZ_TARGETS})
    solvane_fuzz_target_sources(${name} sources)
    add_executable(replay_${name} ${sources} $<TARGET_OBJECTS:solvane_fuzz_replay>)
    target_include_directories(replay_${name} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/tests)
    target_link_libraries(replay_${name} PRIVATE solvane_cli nlohmann_json::nlohmann_json)
    add_test(NAME fuzz_corpus_${name}
             COMMAND replay_${name} ${solvane_fuzz_dir}/corpus/${name})
  endforeach()
endif()
