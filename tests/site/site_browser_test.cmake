# The northwind-ja site in headless Chromium (tests/site/browser_check.py): pages load with no
# console error and the search finds a form. Skipped, saying why, without Python, Chromium or
# the test data; with SCREENSHOTS set, the pages are also saved there as PNG.
find_program(PYTHON3 python3)
if(NOT PYTHON3)
  message("SKIPPED: python3 is not installed")
  return()
endif()
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")
set(ENV{ZANFOR_HOME} "${WORK}/home")
set(extra)
if(SCREENSHOTS)
  file(REMOVE_RECURSE "${SCREENSHOTS}")
  set(extra --screenshots "${SCREENSHOTS}")
endif()
execute_process(COMMAND "${PYTHON3}" "${CHECK}" --cli "${CLI}" --testdata "${TESTDATA}"
                        --work "${WORK}" ${extra}
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err TIMEOUT 900)
message("${out}${err}")
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "the site did not pass in Chromium (${rc})")
endif()
