# zanfor-cli report: an empty work database's report as PDF and HTML, and an unknown report name
# refused with exit status 1 and no file.
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")
set(ENV{ZANFOR_HOME} "${WORK}")
execute_process(COMMAND "${CLI}" init RESULT_VARIABLE rc OUTPUT_QUIET)
foreach(out obj.pdf obj.html)
  execute_process(COMMAND "${CLI}" report R_AcObjectAll --out "${WORK}/${out}"
                  RESULT_VARIABLE rc OUTPUT_VARIABLE o ERROR_VARIABLE e)
  if(NOT rc EQUAL 0 OR NOT EXISTS "${WORK}/${out}")
    message(FATAL_ERROR "report ${out} failed (${rc}): ${o}${e}")
  endif()
endforeach()
file(READ "${WORK}/obj.pdf" magic LIMIT 4 HEX)
if(NOT magic STREQUAL "25504446")
  message(FATAL_ERROR "obj.pdf is not a PDF")
endif()
execute_process(COMMAND "${CLI}" report R_NoSuchReport --out "${WORK}/none.pdf"
                RESULT_VARIABLE rc OUTPUT_QUIET ERROR_VARIABLE e)
if(NOT rc EQUAL 1 OR EXISTS "${WORK}/none.pdf")
  message(FATAL_ERROR "an unknown report must fail with 1 and write nothing (${rc}): ${e}")
endif()
