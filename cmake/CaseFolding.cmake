# Unicode simple case folding as a C++ table, generated at build time from the Unicode Character
# Database's CaseFolding.txt, so that every build (Linux and both Windows DLLs) folds alike.
#
# Included: defines moru_add_case_folding(TARGET), which generates CaseFoldingTable.inc into the
# build directory and puts it on the target's include path.
# Run as a script (cmake -DINPUT=... -DOUTPUT=... -P CaseFolding.cmake): writes the table.

if(CMAKE_SCRIPT_MODE_FILE)
  # Status C (common) and S (simple) entries make the simple folding; F (full, growing the text)
  # and T (Turkic) are left out.
  file(STRINGS "${INPUT}" entries REGEX "^[0-9A-F]+; [CS]; [0-9A-F]+;")
  file(STRINGS "${INPUT}" header LIMIT_COUNT 1)
  string(REGEX REPLACE "^# *" "" header "${header}")
  set(table "// Generated from ${header} by cmake/CaseFolding.cmake; do not edit.\n")
  set(count 0)
  foreach(entry IN LISTS entries)
    string(REGEX MATCH "^([0-9A-F]+); [CS]; ([0-9A-F]+);" matched "${entry}")
    string(APPEND table "{0x${CMAKE_MATCH_1}, 0x${CMAKE_MATCH_2}},\n")
    math(EXPR count "${count} + 1")
  endforeach()
  if(count LESS 1000)
    message(FATAL_ERROR "${INPUT} holds only ${count} simple case foldings; is it CaseFolding.txt?")
  endif()
  # Written only when changed, so that an unchanged table does not rebuild its users.
  file(CONFIGURE OUTPUT "${OUTPUT}" CONTENT "${table}" @ONLY)
  return()
endif()

set(MORU_CASE_FOLDING_FILE /usr/share/unicode/CaseFolding.txt
    CACHE FILEPATH "CaseFolding.txt of the Unicode Character Database (Debian's unicode-data)")
if(NOT EXISTS ${MORU_CASE_FOLDING_FILE})
  message(FATAL_ERROR "${MORU_CASE_FOLDING_FILE} is missing: run scripts/setup (it installs unicode-data) "
                      "or set MORU_CASE_FOLDING_FILE")
endif()

function(moru_add_case_folding target)
  set(directory ${CMAKE_CURRENT_BINARY_DIR}/generated)
  set(table ${directory}/CaseFoldingTable.inc)
  add_custom_command(
    OUTPUT ${table}
    COMMAND ${CMAKE_COMMAND} -DINPUT=${MORU_CASE_FOLDING_FILE} -DOUTPUT=${table} -P ${CMAKE_CURRENT_FUNCTION_LIST_FILE}
    DEPENDS ${MORU_CASE_FOLDING_FILE} ${CMAKE_CURRENT_FUNCTION_LIST_FILE}
    COMMENT "Generating the case folding table"
    VERBATIM)
  target_sources(${target} PRIVATE ${table})
  target_include_directories(${target} PRIVATE ${directory})
endfunction()
