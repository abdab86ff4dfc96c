# zanfor-cli site on the bundled sample, checked by an HTML parser: every page parses, every
# internal link and anchor resolves, every picture and script is there. Skipped where Python 3
# is not installed.
find_program(PYTHON3 python3)
if(NOT PYTHON3)
  message("SKIPPED: python3 is not installed")
  return()
endif()
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")
set(ENV{ZANFOR_HOME} "${WORK}")

execute_process(COMMAND "${CLI}" site "${SAMPLE}" --out "${WORK}/site" --no-pictures
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "site failed on ${SAMPLE} (${rc}): ${err}")
endif()
execute_process(COMMAND "${PYTHON3}" "${CHECK}" "${WORK}/site" RESULT_VARIABLE rc
                OUTPUT_VARIABLE out ERROR_VARIABLE err)
message("${out}")
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "the site of ${SAMPLE} does not check (${rc}): ${err}")
endif()
