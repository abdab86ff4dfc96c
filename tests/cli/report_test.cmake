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

# Only a .pdf or .html is written (2); no file but an earlier report is written over and no
# missing work database is made up (1): every file stays as it was.
file(WRITE "${WORK}/victim.mdb" "mdb")
file(WRITE "${WORK}/notes.pdf" "notes")
file(SHA256 "${WORK}/Zanfor2.db" db)
foreach(case "victim.mdb;2" "Zanfor2.db;2" "notes.pdf;1" "typo.pdf;1;--workdb;${WORK}/typo.db")
  list(POP_FRONT case out want)
  execute_process(COMMAND "${CLI}" report R_AcObjectAll --out "${WORK}/${out}" ${case}
                  RESULT_VARIABLE rc OUTPUT_QUIET ERROR_VARIABLE e)
  file(SHA256 "${WORK}/Zanfor2.db" db_after)
  file(READ "${WORK}/victim.mdb" victim)
  file(READ "${WORK}/notes.pdf" notes)
  if(NOT rc EQUAL want OR NOT db STREQUAL db_after OR NOT victim STREQUAL "mdb"
     OR NOT notes STREQUAL "notes" OR EXISTS "${WORK}/typo.db" OR NOT e MATCHES "ｴﾗｰNo:|使い方")
    message(FATAL_ERROR "report --out ${out} ${case} must fail with ${want} (${rc}): ${e}")
  endif()
endforeach()
