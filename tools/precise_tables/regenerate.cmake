# Fetches and checks the pinned series (extract_astronomia.mjs) into WORK, writes the tables to
# OUTPUT, and, given COMPARE_WITH, fails unless OUTPUT is byte for byte that file.
#   cmake -DNODE=... -DEXTRACTOR=... -DGENERATOR=... -DWORK=... -DOUTPUT=... [-DCOMPARE_WITH=...]
#         -P regenerate.cmake
foreach(required NODE EXTRACTOR GENERATOR WORK OUTPUT)
  if(NOT ${required})
    message(FATAL_ERROR "regenerate.cmake: ${required} is not set")
  endif()
endforeach()

file(REMOVE_RECURSE ${WORK}/series)
execute_process(COMMAND ${NODE} ${EXTRACTOR} ${WORK}/series RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "extracting the series failed (${status})")
endif()
execute_process(COMMAND ${GENERATOR} ${WORK}/series ${OUTPUT} RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "generating the tables failed (${status})")
endif()

if(COMPARE_WITH)
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${OUTPUT} ${COMPARE_WITH}
                  RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${COMPARE_WITH} differs from what the generator writes today (${OUTPUT})")
  endif()
endif()
