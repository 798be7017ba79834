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
target_link_libraries(solvane_atlas PUBLIC ZLIB::ZLIB)
# .incbin reads the file at assembly time: the build must know to assemble again when it changes.
set_source_files_properties(src/entry/atlas_data.S PROPERTIES
  OBJECT_DEPENDS ${SOLVANE_ATLAS_FILE}
  COMPILE_DEFINITIONS "SOLVANE_ATLAS_FILE=\"${SOLVANE_ATLAS_FILE}\"")

target_link_libraries(solvane_model PUBLIC solvane_atlas)

if(TARGET solvane_desktop)
  target_sources(solvane_desktop PRIVATE src/entry/place_finder.cpp src/entry/place_finder.h)
endif()
