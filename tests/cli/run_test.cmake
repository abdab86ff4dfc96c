# zanfor-cli run: the bundled sample and a real .mdb documented headless. Every report asked for
# is written, the targets are left byte for byte as they were, and bad usage is refused with 2.
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}/home")
set(ENV{ZANFOR_HOME} "${WORK}/home")

function(fingerprint path out)
  if(IS_DIRECTORY "${path}")
    file(GLOB_RECURSE files LIST_DIRECTORIES false "${path}/*")
    list(SORT files)
    set(all "")
    foreach(f ${files})
      file(SHA256 "${f}" h)
      string(APPEND all "${f}=${h};")
    endforeach()
    string(SHA256 h "${all}")
  else()
    file(SHA256 "${path}" h)
  endif()
  set(${out} "${h}" PARENT_SCOPE)
endfunction()

set(targets "${SAMPLE}")
if(EXISTS "${TESTDATA}/mdb/northwind-ja.mdb")
  list(APPEND targets "${TESTDATA}/mdb/northwind-ja.mdb")
endif()
set(n 0)
foreach(target ${targets})
  math(EXPR n "${n} + 1")
  fingerprint("${target}" before)
  # Every command this build has, the code readers among them (they reopen the target in the
  # analysis Access instance first).
  execute_process(COMMAND "${CLI}" run "${target}" --out "${WORK}/out${n}" --format pdf
                  RESULT_VARIABLE rc OUTPUT_VARIABLE o ERROR_VARIABLE e)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "run ${target} failed (${rc}): ${o}${e}")
  endif()
  foreach(report R_AcObjectAll R_AcTblTable R_AcQeryAll R_AcProcName R_AcModule2 R_AcModStep
                 R_AcComment R_AcHensuH R_AcHensuT R_AcHensuU R_AcLinkProc R_AcLinkTable
                 R_AcLinkObject R_AcLinkObject.linkreport)
    if(NOT EXISTS "${WORK}/out${n}/${report}.pdf")
      message(FATAL_ERROR "run ${target} wrote no ${report}.pdf: ${o}${e}")
    endif()
  endforeach()
  fingerprint("${target}" after)
  if(NOT before STREQUAL after)
    message(FATAL_ERROR "run changed the target ${target}")
  endif()
endforeach()

# The developer support tools alone: the initial processing runs first by itself, and the
# catalogue brings its three lists along. Reports are written beside the run, so a report's
# line may come after the next command's.
execute_process(COMMAND "${CLI}" run "${SAMPLE}" --only hensu,linkproc --out "${WORK}/sien"
                RESULT_VARIABLE rc OUTPUT_VARIABLE o ERROR_VARIABLE e)
if(NOT rc EQUAL 0 OR NOT o MATCHES "== syoki .*== hensu .*== linkproc"
   OR NOT o MATCHES "R_AcHensuU -> " OR NOT EXISTS "${WORK}/sien/R_AcHensuU.pdf"
   OR NOT EXISTS "${WORK}/sien/R_AcLinkProc.pdf")
  message(FATAL_ERROR "run --only hensu,linkproc: ${rc} ${o}${e}")
endif()

# A file cut short is documented as far as it reads, and the run names what is missing and
# fails: never a quiet partial listing.
if(EXISTS "${TESTDATA}/mdb/northwind-ja.mdb")
  execute_process(COMMAND head -c 827392 "${TESTDATA}/mdb/northwind-ja.mdb"
                  OUTPUT_FILE "${WORK}/cut.mdb")
  execute_process(COMMAND "${CLI}" run "${WORK}/cut.mdb" --only objects,tables --out "${WORK}/cut"
                  RESULT_VARIABLE rc OUTPUT_VARIABLE o ERROR_VARIABLE e)
  if(NOT rc EQUAL 1 OR NOT e MATCHES "ｴﾗｰNo:3049" OR NOT e MATCHES "MSysObjects"
     OR NOT e MATCHES "社員: ｴﾗｰNo:3049" OR NOT EXISTS "${WORK}/cut/R_AcTblTable.pdf")
    message(FATAL_ERROR "a cut file must be listed as read and fail naming the damage: ${rc} ${e}")
  endif()
endif()

# Relative paths are the caller's, not the program folder's, and a run with its own work
# database makes nothing in the program folder.
set(ENV{ZANFOR_HOME} "${WORK}/home2")
execute_process(COMMAND "${CLI}" run "${SAMPLE}" --only objects --out rel --workdb rel.db
                WORKING_DIRECTORY "${WORK}" RESULT_VARIABLE rc OUTPUT_QUIET ERROR_VARIABLE e)
file(GLOB made "${WORK}/home2/*")
if(NOT rc EQUAL 0 OR NOT EXISTS "${WORK}/rel/R_AcObjectAll.pdf" OR NOT EXISTS "${WORK}/rel.db"
   OR made)
  message(FATAL_ERROR "--out, --workdb are the caller's and make nothing in ${made}: ${e}")
endif()

execute_process(COMMAND "${CLI}" run "${SAMPLE}" --only nosuch RESULT_VARIABLE rc
                OUTPUT_QUIET ERROR_QUIET)
if(NOT rc EQUAL 2)
  message(FATAL_ERROR "an unknown command name must be refused with 2, got ${rc}")
endif()
execute_process(COMMAND "${CLI}" run "${WORK}/missing.mdb" RESULT_VARIABLE rc OUTPUT_QUIET
                ERROR_QUIET)
if(NOT rc EQUAL 1)
  message(FATAL_ERROR "a missing target must fail with 1, got ${rc}")
endif()

# What cannot be a target is refused at once with a number naming it: a FIFO (which blocked the
# reader for ever), a folder holding no export, a loop of links, a name too long.
execute_process(COMMAND mkfifo "${WORK}/fifo")
file(WRITE "${WORK}/plain/readme.txt" "")
execute_process(COMMAND ln -sfn loop "${WORK}/loop")
string(REPEAT "n" 300 long)
foreach(case fifo:3343 plain:3024 loop:76 ${long}.mdb:76)
  string(REPLACE ":" ";" case "${case}")
  list(POP_FRONT case name number)
  foreach(verb run inspect)
    execute_process(COMMAND "${CLI}" ${verb} "${WORK}/${name}" TIMEOUT 30
                    RESULT_VARIABLE rc OUTPUT_QUIET ERROR_VARIABLE e)
    if(NOT rc EQUAL 1 OR NOT e MATCHES "ｴﾗｰNo:${number}.*${WORK}/${name}")
      message(FATAL_ERROR "${verb} ${name} must fail with 1 and error ${number} (${rc}): ${e}")
    endif()
  endforeach()
endforeach()

# A batch from an analysis pattern: only its ticked steps run, each writing its report; the
# sample's pattern ticks every step. A pattern that cannot be read fails before anything runs,
# and --pattern with --only is bad usage.
file(WRITE "${WORK}/two.apt" "mmodule=4\r\nOBJECT=1\r\nextra\r\nMODULE=1\r\n")
execute_process(COMMAND "${CLI}" run "${SAMPLE}" --pattern "${WORK}/two.apt" --out "${WORK}/two"
                RESULT_VARIABLE rc OUTPUT_VARIABLE o ERROR_VARIABLE e)
file(GLOB written RELATIVE "${WORK}/two" "${WORK}/two/*")
list(SORT written)
if(NOT rc EQUAL 0 OR NOT written STREQUAL "R_AcModule2.pdf;R_AcObjectAll.pdf"
   OR NOT e MATCHES "「一括処理」を終了しました。")
  message(FATAL_ERROR "run --pattern two.apt (${rc}) wrote ${written}: ${o}${e}")
endif()
get_filename_component(examples "${SAMPLE}" DIRECTORY)
execute_process(COMMAND "${CLI}" run "${SAMPLE}" --pattern "${examples}/all-steps.apt"
                --out "${WORK}/all" RESULT_VARIABLE rc OUTPUT_VARIABLE o ERROR_VARIABLE e)
file(GLOB written "${WORK}/all/*.pdf")
list(LENGTH written n)
if(NOT rc EQUAL 0 OR NOT n EQUAL 12)
  message(FATAL_ERROR "run --pattern all-steps.apt (${rc}) wrote ${n} reports: ${o}${e}")
endif()
execute_process(COMMAND "${CLI}" run "${SAMPLE}" --pattern "${WORK}/missing.apt"
                RESULT_VARIABLE rc OUTPUT_QUIET ERROR_VARIABLE e)
if(NOT rc EQUAL 1 OR NOT e MATCHES "場所:解析パターン読込ｴﾗｰNo:3024")
  message(FATAL_ERROR "a missing pattern must fail with 1 and error 3024 (${rc}): ${e}")
endif()
execute_process(COMMAND "${CLI}" run "${SAMPLE}" --pattern "${WORK}/two.apt" --only objects
                RESULT_VARIABLE rc OUTPUT_QUIET ERROR_QUIET)
if(NOT rc EQUAL 2)
  message(FATAL_ERROR "--pattern with --only must be refused with 2, got ${rc}")
endif()
