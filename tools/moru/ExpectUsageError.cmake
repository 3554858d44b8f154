# Runs a command that must be refused for its arguments: it ends with status 2 (not a crash, not a
# success), writes nothing to standard output and one line to standard error that matches EXPECTED.
#   cmake -DCOMMAND=program|arg|... -DEXPECTED=regex -P ExpectUsageError.cmake
string(REPLACE "|" ";" command "${COMMAND}")
execute_process(COMMAND ${command} RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE error)
if(NOT status STREQUAL "2")
  message(FATAL_ERROR "status ${status}, not 2\nstdout: ${output}\nstderr: ${error}")
endif()
if(NOT output STREQUAL "")
  message(FATAL_ERROR "wrote to standard output: ${output}")
endif()
if(NOT error MATCHES "^[^\n]*${EXPECTED}[^\n]*\r?\n$")
  message(FATAL_ERROR "standard error is not one line matching \"${EXPECTED}\": ${error}")
endif()
