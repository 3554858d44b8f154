# Writes the DLL's module-definition file and both import libraries from the export list that the
# linker wrote. 32-bit Windows: the DLL exports stdcall functions under their bare names
# (--kill-at), yet a caller compiled with the header asks for _Name@N; the definitions therefore
# list Name@N and the import libraries are made with --kill-at, so that _Name@N imports Name.
# (The linker's own import library loses the @N and links nothing.) Run with cmake -P and:
#   LINKER_DEF    the export list the linker wrote (--output-def)
#   DLL           the DLL's file name            DEF      the module-definition file to write
#   DLLTOOL       the target's GNU dlltool       IMPLIB   the MinGW import library (.dll.a) to write
#   LLVM_DLLTOOL  llvm-dlltool                   LIB      the MSVC-style import library (.lib) to write
#   MACHINE       i386 or i386:x86-64
cmake_minimum_required(VERSION 3.25)

file(STRINGS ${LINKER_DEF} lines)
set(exports "")
foreach(line IN LISTS lines)
  # "    Name = Name@N @1" for a stdcall function under --kill-at, "    Name @1" otherwise.
  if(line MATCHES "^[ \t]+([A-Za-z_][A-Za-z_0-9]*)[ \t]*=[ \t]*([A-Za-z_][A-Za-z_0-9]*@[0-9]+)")
    string(APPEND exports "    ${CMAKE_MATCH_2}\n")
  elseif(line MATCHES "^[ \t]+([A-Za-z_][A-Za-z_0-9]*@?[0-9]*)[ \t]+@[0-9]+")
    string(APPEND exports "    ${CMAKE_MATCH_1}\n")
  endif()
endforeach()
if(exports STREQUAL "")
  message(FATAL_ERROR "${LINKER_DEF} lists no exports")
endif()
file(WRITE ${DEF} "LIBRARY \"${DLL}\"\nEXPORTS\n${exports}")

function(run what)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE errors)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${what} failed (${status}):\n${output}\n${errors}")
  endif()
endfunction()
file(REMOVE ${IMPLIB} ${LIB})
run("dlltool" ${DLLTOOL} -k -d ${DEF} -D ${DLL} -l ${IMPLIB})
if(LLVM_DLLTOOL)
  run("llvm-dlltool" ${LLVM_DLLTOOL} -m ${MACHINE} -k -d ${DEF} -l ${LIB})
endif()
