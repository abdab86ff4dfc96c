# zanfor-cli capture: a form of a real .mdb drawn into a PNG and a BMP, the target left byte for
# byte as it was; a file that is not such a picture is not written over, bad usage gives 2.
set(target "${TESTDATA}/pairs/strings/Strings.mdb")
if(NOT EXISTS "${target}")
  message("SKIPPED: ${target} is absent")
  return()
endif()
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")
file(SHA256 "${target}" before)

foreach(out AlphaText.png AlphaText.BMP)
  execute_process(COMMAND "${CLI}" capture "${target}" AlphaText --out "${WORK}/${out}"
                  RESULT_VARIABLE rc OUTPUT_VARIABLE o ERROR_VARIABLE e)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "capture into ${out} failed (${rc}): ${o}${e}")
  endif()
endforeach()
file(READ "${WORK}/AlphaText.png" png LIMIT 4 HEX)
file(READ "${WORK}/AlphaText.BMP" bmp LIMIT 2 HEX)
if(NOT png STREQUAL "89504e47" OR NOT bmp STREQUAL "424d")
  message(FATAL_ERROR "capture wrote no PNG or BMP (${png}, ${bmp})")
endif()

file(WRITE "${WORK}/notes.png" "not a picture")
execute_process(COMMAND "${CLI}" capture "${target}" AlphaText --out "${WORK}/notes.png"
                RESULT_VARIABLE rc OUTPUT_QUIET ERROR_VARIABLE e)
file(READ "${WORK}/notes.png" kept)
if(NOT rc EQUAL 1 OR NOT kept STREQUAL "not a picture" OR NOT e MATCHES "ｴﾗｰNo:58")
  message(FATAL_ERROR "capture wrote over a file that is not a picture (${rc}): ${e}")
endif()

foreach(args "AlphaText;--out;${WORK}/x.jpg" "--out;${WORK}/x.png")
  execute_process(COMMAND "${CLI}" capture "${target}" ${args}
                  RESULT_VARIABLE rc OUTPUT_QUIET ERROR_QUIET)
  if(NOT rc EQUAL 2)
    message(FATAL_ERROR "capture ${args} must be refused as bad usage, got ${rc}")
  endif()
endforeach()

file(SHA256 "${target}" after)
if(NOT before STREQUAL after)
  message(FATAL_ERROR "capture changed ${target}")
endif()
