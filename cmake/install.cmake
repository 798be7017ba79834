# Installation and the Debian package.
#
#   cmake --install build/default --prefix /usr       # or DESTDIR=... for a staging tree
#   cd build/default && cpack -G DEB                   # solvane_<version>_<arch>.deb
#
# Installs the programs, the desktop entry, the icon (SVG, and PNGs rendered at build time when
# rsvg-convert is found), the AppStream metainfo, the manual pages (gzipped at build time), the
# bash completion of solvane-chart, and the copyright and changelog the Debian package needs.
# -DSOLVANE_RSVG_CONVERT=OFF leaves out the PNG icons; -DSOLVANE_GZIP=OFF installs the manual
# pages uncompressed.

include(GNUInstallDirs)

set(SOLVANE_APP_ID "app.solvane.Solvane")
set(solvane_packaging_dir "${PROJECT_SOURCE_DIR}/packaging")
set(solvane_generated_dir "${PROJECT_BINARY_DIR}/packaging")
set(solvane_generated_files)

# --- Programs -----------------------------------------------------------------------------------
install(TARGETS solvane-chart RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(SOLVANE_BUILD_DESKTOP)
  install(TARGETS solvane RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()

# --- Manual pages and the Debian changelog, compressed the way Debian ships them -----------------
# gzip -n leaves out the file name and time stamp, so the same page always gives the same bytes.
find_program(SOLVANE_GZIP gzip)
mark_as_advanced(SOLVANE_GZIP)

# Installs `source` into `destination`, gzipped as `name`.gz when gzip is found, else as it is.
function(solvane_install_gzipped source name destination)
  if(SOLVANE_GZIP)
    set(copy "${solvane_generated_dir}/gz/${name}")
    add_custom_command(
      OUTPUT "${copy}.gz"
      COMMAND ${CMAKE_COMMAND} -E make_directory "${solvane_generated_dir}/gz"
      COMMAND ${CMAKE_COMMAND} -E copy "${source}" "${copy}"
      COMMAND "${SOLVANE_GZIP}" -9nf "${copy}"
      DEPENDS "${source}"
      COMMENT "Compressing ${name}"
      VERBATIM)
    install(FILES "${copy}.gz" DESTINATION "${destination}")
    set(solvane_generated_files ${solvane_generated_files} "${copy}.gz" PARENT_SCOPE)
  else()
    install(FILES "${source}" DESTINATION "${destination}" RENAME "${name}")
  endif()
endfunction()

solvane_install_gzipped("${PROJECT_SOURCE_DIR}/docs/man/solvane-chart.1" solvane-chart.1
                        ${CMAKE_INSTALL_MANDIR}/man1)
if(SOLVANE_BUILD_DESKTOP)
  solvane_install_gzipped("${PROJECT_SOURCE_DIR}/docs/man/solvane.1" solvane.1
                          ${CMAKE_INSTALL_MANDIR}/man1)
endif()
solvane_install_gzipped("${solvane_packaging_dir}/changelog" changelog ${CMAKE_INSTALL_DOCDIR})
install(FILES "${solvane_packaging_dir}/copyright" DESTINATION ${CMAKE_INSTALL_DOCDIR})

# --- Shell completion ----------------------------------------------------------------------------
install(FILES "${solvane_packaging_dir}/solvane-chart.bash-completion"
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions
        RENAME solvane-chart)

# --- Desktop integration: entry, icons, AppStream metainfo ---------------------------------------
if(SOLVANE_BUILD_DESKTOP)
  install(FILES "${solvane_packaging_dir}/${SOLVANE_APP_ID}.desktop"
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES "${solvane_packaging_dir}/${SOLVANE_APP_ID}.metainfo.xml"
          DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

  set(icon_source "${PROJECT_SOURCE_DIR}/assets/solvane.svg")
  install(FILES "${icon_source}" DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
          RENAME ${SOLVANE_APP_ID}.svg)

  find_program(SOLVANE_RSVG_CONVERT rsvg-convert)
  mark_as_advanced(SOLVANE_RSVG_CONVERT)
  if(SOLVANE_RSVG_CONVERT)
    foreach(size 16 24 32 48 64 128 256)
      set(icon_dir "${solvane_generated_dir}/icons/hicolor/${size}x${size}/apps")
      set(icon "${icon_dir}/${SOLVANE_APP_ID}.png")
      add_custom_command(
        OUTPUT "${icon}"
        COMMAND ${CMAKE_COMMAND} -E make_directory "${icon_dir}"
        COMMAND "${SOLVANE_RSVG_CONVERT}" --width ${size} --height ${size} --format png
                --output "${icon}" "${icon_source}"
        DEPENDS "${icon_source}"
        COMMENT "Rendering the ${size}x${size} icon"
        VERBATIM)
      install(FILES "${icon}" DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
      list(APPEND solvane_generated_files "${icon}")
    endforeach()
  else()
    message(STATUS "rsvg-convert not found (Debian: librsvg2-bin): installing the SVG icon only")
  endif()

  # The newest release in the metainfo must be the version being built.
  set(metainfo_file "${solvane_packaging_dir}/${SOLVANE_APP_ID}.metainfo.xml")
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${metainfo_file}")
  file(READ "${metainfo_file}" metainfo)
  string(FIND "${metainfo}" "<release version=\"${PROJECT_VERSION}\"" release_at)
  if(release_at EQUAL -1)
    message(WARNING "packaging/${SOLVANE_APP_ID}.metainfo.xml has no <release> for version "
                    "${PROJECT_VERSION}; add one (and an entry in packaging/changelog)")
  endif()
endif()

add_custom_target(solvane_install_files ALL DEPENDS ${solvane_generated_files})

# --- Check of the installed files (ctest) --------------------------------------------------------
# Installs into a scratch DESTDIR under the build tree, then validates what landed there.
if(SOLVANE_BUILD_TESTS)
  add_test(NAME packaging_installed_files
           COMMAND ${CMAKE_COMMAND}
                   -D "BUILD_DIR=${PROJECT_BINARY_DIR}"
                   -D "STAGE_DIR=${PROJECT_BINARY_DIR}/packaging/installed"
                   -D "CHECK_SCRIPT=${solvane_packaging_dir}/check-installed.sh"
                   -P "${solvane_packaging_dir}/install-and-check.cmake")
  set_tests_properties(packaging_installed_files PROPERTIES
                       SKIP_REGULAR_EXPRESSION "check-installed: SKIPPED"
                       RESOURCE_LOCK solvane_install_stage
                       TIMEOUT 120)
endif()

# --- Debian package (cpack -G DEB) ---------------------------------------------------------------
set(CPACK_GENERATOR "DEB")
set(CPACK_PACKAGE_NAME "solvane")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_VENDOR "Solvane")
set(CPACK_PACKAGE_CONTACT "Solvane <support@solvane.app>")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://www.solvane.app")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Vedic birth chart with a house-by-house report")
set(CPACK_PACKAGE_DESCRIPTION
    "Solvane casts a Vedic (sidereal) natal chart from the date, clock time and
time zone of a birth and the longitude and latitude of its place: the
positions of the Sun, the Moon, the planets Mercury to Pluto, the lunar nodes
Rahu and Ketu, the Ascendant and the Midheaven (Lahiri ayanamsa), with
retrograde planets marked, and a wheel of twelve whole-sign houses.

A house-by-house report explains what the planets' places mean; it can be
saved as an RTF document and printed.

The package holds the desktop program, solvane, and solvane-chart, which
computes the same chart from command-line flags or from a CSV file of many
births and writes text or JSON for scripts.")
# The package installs into /usr whatever CMAKE_INSTALL_PREFIX the build was configured with.
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME "DEB-DEFAULT")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Solvane <support@solvane.app>")
set(CPACK_DEBIAN_PACKAGE_SECTION "science")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://www.solvane.app")
# The library dependencies come from dpkg-shlibdeps (Debian: dpkg-dev).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Help-menu links and the place lookup open the web browser through xdg-open.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "bash-completion")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_COMPRESSION_TYPE "xz")

set(CPACK_SOURCE_GENERATOR "TXZ")
set(CPACK_SOURCE_IGNORE_FILES "/\\.git/" "/build/")

include(CPack)
