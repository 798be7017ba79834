# Installs the build tree BUILD_DIR into the scratch folder STAGE_DIR (as DESTDIR, with the
# prefix /usr that the Debian package uses), then runs CHECK_SCRIPT on what landed there.
#   cmake -D BUILD_DIR=... -D STAGE_DIR=... -D CHECK_SCRIPT=.../check-installed.sh -P this-file
# A check that cannot run for want of its tools prints "check-installed: SKIPPED", which ctest
# reports as a skip.
foreach(variable BUILD_DIR STAGE_DIR CHECK_SCRIPT)
  if(NOT DEFINED ${variable})
    message(FATAL_ERROR "install-and-check: ${variable} is not set")
  endif()
endforeach()

file(REMOVE_RECURSE "${STAGE_DIR}")
set(ENV{DESTDIR} "${STAGE_DIR}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix /usr
                RESULT_VARIABLE status OUTPUT_QUIET)
unset(ENV{DESTDIR})
if(NOT status EQUAL 0)
  message(FATAL_ERROR "install-and-check: cmake --install failed (${status})")
endif()

execute_process(COMMAND bash "${CHECK_SCRIPT}" "${STAGE_DIR}/usr" RESULT_VARIABLE status)
if(status EQUAL 77)
  message("check-installed: SKIPPED (a validator is missing; see above)")
elseif(NOT status EQUAL 0)
  message(FATAL_ERROR "install-and-check: the installed files failed their checks (${status})")
endif()
