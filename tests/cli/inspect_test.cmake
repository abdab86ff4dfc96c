# zanfor-cli inspect --json: the bundled sample and, when present, a real export set show every
# object they hold, with the forms' controls.
function(expect_counts target)
  execute_process(COMMAND "${CLI}" inspect --json "${target}"
                  RESULT_VARIABLE rc OUTPUT_VARIABLE json ERROR_VARIABLE e)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "inspect ${target} failed (${rc}): ${e}")
  endif()
  set(pairs ${ARGN})
  while(pairs)
    list(POP_FRONT pairs key want)
    string(JSON got LENGTH "${json}" ${key})
    if(NOT got EQUAL want)
      message(FATAL_ERROR "inspect ${target}: ${key} has ${got} entries, expected ${want}")
    endif()
  endwhile()
  string(JSON problems LENGTH "${json}" problems)
  if(NOT problems EQUAL 0)
    message(FATAL_ERROR "inspect ${target} reports ${problems} problems")
  endif()
  set(json "${json}" PARENT_SCOPE)
endfunction()

# 10 local and 4 linked tables with the two system tables of the import specifications; 18
# queries and 14 record-source queries.
expect_counts("${SAMPLE}" tables 16 queries 32 forms 9 reports 6 macros 5)
string(JSON kind GET "${json}" forms 0 controls 0 type)
if(kind STREQUAL "")
  message(FATAL_ERROR "the sample's first form shows no control type")
endif()

if(EXISTS "${TESTDATA}/exports/ncrn-birds/source")
  expect_counts("${TESTDATA}/exports/ncrn-birds/source" forms 42 reports 21 macros 2)
endif()

# One stored design with every property and where its value came from.
if(EXISTS "${TESTDATA}/mdb/northwind-ja.mdb")
  execute_process(COMMAND "${CLI}" inspect "${TESTDATA}/mdb/northwind-ja.mdb" --design 社員
                  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE e)
  if(NOT rc EQUAL 0 OR NOT out MATCHES "Form \"社員\"" OR NOT out MATCHES "Caption = \"社員\"  \\[stored\\]")
    message(FATAL_ERROR "inspect --design 社員 failed (${rc}): ${e}")
  endif()
  execute_process(COMMAND "${CLI}" inspect "${TESTDATA}/mdb/northwind-ja.mdb" --design 無い
                  RESULT_VARIABLE rc OUTPUT_QUIET ERROR_QUIET)
  if(NOT rc EQUAL 1)
    message(FATAL_ERROR "inspect --design of an unknown object must fail with 1, got ${rc}")
  endif()
endif()
