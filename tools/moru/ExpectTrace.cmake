# Runs a command that names a trace file, checks its exit status, and that the trace holds a line
# matching a pattern.
#   cmake -DCOMMAND=program|arg|... -DTRACE=file [-DSTATUS=n] -DLINE=regex -P ExpectTrace.cmake
# The trace file is removed first, so that only this run's lines count.
string(REPLACE "|" ";" command "${COMMAND}")
if(STATUS STREQUAL "")
  set(STATUS 0)
endif()
file(REMOVE ${TRACE})
execute_process(COMMAND ${command} RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE error)
if(NOT status STREQUAL "${STATUS}")
  message(FATAL_ERROR "status ${status}, not ${STATUS}\nstdout: ${output}\nstderr: ${error}")
endif()
if(NOT EXISTS ${TRACE})
  message(FATAL_ERROR "no trace was written to ${TRACE}\nstderr: ${error}")
endif()
file(STRINGS ${TRACE} lines)
foreach(line IN LISTS lines)
  if(line MATCHES "${LINE}")
    return()
  endif()
endforeach()
file(READ ${TRACE} trace)
message(FATAL_ERROR "no line of the trace matches \"${LINE}\":\n${trace}")
