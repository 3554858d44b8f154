# Runs a command that must succeed and checks its standard output: it matches EXPECTED and no line
# of it matches FORBIDDEN.
#   cmake -DCOMMAND=program|arg|... -DEXPECTED=regex -DFORBIDDEN=regex -P ExpectOutput.cmake
string(REPLACE "|" ";" command "${COMMAND}")
execute_process(COMMAND ${command} RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE error)
if(NOT status STREQUAL "0")
  message(FATAL_ERROR "status ${status}, not 0\nstdout: ${output}\nstderr: ${error}")
endif()
if(NOT output MATCHES "${EXPECTED}")
  message(FATAL_ERROR "standard output does not match \"${EXPECTED}\": ${output}")
endif()
string(REPLACE "\n" ";" lines "${output}")
foreach(line IN LISTS lines)
  if(line MATCHES "${FORBIDDEN}")
    message(FATAL_ERROR "a line matches \"${FORBIDDEN}\": ${line}")
  endif()
endforeach()
