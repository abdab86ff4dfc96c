# The export's workbooks opened by real readers: the test binary writes them into WORK, the
# Python check reads them with openpyxl and LibreOffice and says SKIPPED for a reader that is
# not installed.
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")
execute_process(
  COMMAND ${CMAKE_COMMAND} -E env ZANFOR_XLSX_SAMPLES=${WORK} ${TESTS}
          --gtest_filter=KolvexTest.writesWorkbooksForTheConsumerCheck
  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT rc EQUAL 0 OR NOT EXISTS "${WORK}/pivot.xlsx")
  message(FATAL_ERROR "the workbooks were not written:\n${out}")
endif()
# The system's Python first: the Debian packages (python3-openpyxl) belong to it.
find_program(PYTHON3 python3 PATHS /usr/bin NO_DEFAULT_PATH)
find_program(PYTHON3 python3)
if(NOT PYTHON3)
  message("SKIPPED: python3 is not installed")
  return()
endif()
execute_process(COMMAND ${PYTHON3} ${CHECK} "${WORK}" RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "a reader refused the workbooks")
endif()
