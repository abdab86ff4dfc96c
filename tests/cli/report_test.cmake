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

# A work database with one damaged page: the first (the file's header and catalogue), or the
# first page of T_AcObject. The report and a run that empties the table fail with the error number
# and SQLite's own code (26 not a database, 11 malformed), exit 1, and write no report.
find_program(SQLITE3 sqlite3)
if(NOT SQLITE3)
  message(STATUS "sqlite3 not found: the damaged work database is not tried")
  return()
endif()
set(whole "${WORK}/whole.db")
execute_process(COMMAND "${CLI}" init --workdb "${whole}" OUTPUT_QUIET)
set(sql "SELECT rootpage, (SELECT page_size FROM pragma_page_size) \
FROM sqlite_master WHERE name = 'T_AcObject'")
execute_process(COMMAND "${SQLITE3}" "${whole}" "${sql}"
                OUTPUT_VARIABLE page OUTPUT_STRIP_TRAILING_WHITESPACE)
string(REPLACE "|" ";" page "${page}")
list(GET page 0 root)
list(GET page 1 size)
math(EXPR repeats "${size} / 8")
string(REPEAT "garbage " ${repeats} garbage)
file(WRITE "${WORK}/garbage" "${garbage}")
file(WRITE "${WORK}/tiny.mdb.src/modules/m.bas" "Attribute VB_Name = \"m\"\r\nOption Explicit\r\n")
foreach(case "1;26" "${root};11")
  list(POP_FRONT case damagedPage code)
  set(damaged "${WORK}/damaged${damagedPage}.db")
  file(COPY_FILE "${whole}" "${damaged}")
  math(EXPR skip "${damagedPage} - 1")
  execute_process(COMMAND dd "if=${WORK}/garbage" "of=${damaged}" bs=${size} seek=${skip}
                          count=1 conv=notrunc ERROR_QUIET)
  foreach(verb report run)
    if(verb STREQUAL "report")
      set(args report R_AcObjectAll --workdb "${damaged}" --out "${WORK}/damaged.pdf")
    else()
      set(args run "${WORK}/tiny.mdb.src" --only objects --workdb "${damaged}" --out "${WORK}/dout")
    endif()
    execute_process(COMMAND "${CLI}" ${args} RESULT_VARIABLE rc OUTPUT_QUIET ERROR_VARIABLE e)
    if(NOT rc EQUAL 1 OR NOT e MATCHES "ｴﾗｰNo:30001" OR NOT e MATCHES "\\(SQLite ${code}\\)"
       OR EXISTS "${WORK}/damaged.pdf" OR EXISTS "${WORK}/dout/R_AcObjectAll.pdf")
      message(FATAL_ERROR
              "${verb} on damaged page ${damagedPage} must fail with 1 and its number (${rc}): ${e}")
    endif()
  endforeach()
endforeach()
