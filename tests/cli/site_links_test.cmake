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
# The sample's menu form runs macros of a group by "Group.Name": each goes to that macro's heading.
file(READ "${WORK}/site/index.html" index)
string(REGEX MATCH "href=\"(form-[0-9]+\\.html)\">F_メインメニュー<" found "${index}")
if(NOT found)
  message(FATAL_ERROR "the index lists no form F_メインメニュー")
endif()
file(READ "${WORK}/site/${CMAKE_MATCH_1}" menu)
if(NOT menu MATCHES "href=\"macro-[0-9]+\\.html#m-受注入力を開く\"")
  message(FATAL_ERROR "${CMAKE_MATCH_1}: the event running M_メニュー.受注入力を開く does not link its macro")
endif()
