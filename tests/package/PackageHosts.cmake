# Builds the example hosts against an unpacked package as host developers do, and runs each (under
# Wine for Windows) on the package's sample database: an initialisation, a listing with callbacks,
# a search, a value read and the engine's bulk pass (tour.h). Run with cmake -P and:
#   ROOT         the unpacked package             WORK        a scratch folder (emptied first)
#   HOST_SOURCE  this folder                      GENERATOR   C_COMPILER   PKG_CONFIG
#   C_FLAGS      extra flags for compiling and linking the hosts, |-separated
#   Windows only:
#   TOOLCHAIN    the CMake toolchain file         WINE        the Wine loader
#   MINGW_ROOT   /usr/<triple> of mingw-w64: its C runtime headers and import libraries
#   TRIPLE       the MSVC-style target, i686-pc-windows-msvc or x86_64-pc-windows-msvc
#   CLANG  LLD_LINK  LLVM_DLLTOOL
cmake_minimum_required(VERSION 3.25)

function(run what)
  execute_process(COMMAND ${ARGN} WORKING_DIRECTORY ${WORK} RESULT_VARIABLE status OUTPUT_VARIABLE output
                  ERROR_VARIABLE errors)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${what} failed (${status}):\n${output}\n${errors}")
  endif()
  set(run_output "${output}" PARENT_SCOPE)
endfunction()

set(sample ${ROOT}/sample/databases.json)
set(launch ${WINE})
set(tour SAMPLE.PURE water MW)
# run_host(<what> <program> [<library file>]): the tour, and every step of it delivered.
function(run_host what program)
  run("${what}" ${launch} ${program} ${ARGN} ${sample} ${tour})
  foreach(expected
      "library ${VERSION} \\([0-9]+\\), header ${VERSION}\r?\n"
      "databank SAMPLE\\.PURE \\(" "listed [1-9][0-9]* databanks, [1-9][0-9]* binary parameter sets"
      "found \"water\": compound [0-9]+ in SAMPLE\\.PURE, name \"[^\"]+\", CAS 7732-18-5"
      "value MW of \"water\": 18\\.0"
      "bulk: 2 of 2 compounds, 1 of 1 properties, 2 values, 2 equal to the value read")
    if(NOT run_output MATCHES "${expected}")
      message(FATAL_ERROR "${what}: no line matching '${expected}' in:\n${run_output}")
    endif()
  endforeach()
  message(STATUS "${what}: the tour ran")
endfunction()

file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
file(STRINGS ${ROOT}/include/MoruIntegration.h version_line REGEX "^#define MORU_VERSION_TEXT ")
string(REGEX REPLACE ".*\"(.*)\".*" "\\1" VERSION "${version_line}")
string(REPLACE "|" ";" C_FLAGS "${C_FLAGS}")
string(REPLACE ";" " " c_flags_text "${C_FLAGS}")
set(warnings -Wall -Wextra -Werror)
if(WINE)
  set(exe .exe)
  set(library_file MoruIntegration.dll)
  # Windows programs find the DLL beside them.
  file(COPY ${ROOT}/bin/MoruIntegration.dll DESTINATION ${WORK})
  set(toolchain -DCMAKE_TOOLCHAIN_FILE=${TOOLCHAIN})
else()
  set(exe "")
  file(GLOB library_file LIST_DIRECTORIES false ${ROOT}/lib/libMoruIntegration.so.*)
  list(GET library_file 0 library_file)
endif()

# find_package, as a CMake project does it (on Windows through the MinGW import library).
run("configuring the CMake hosts" ${CMAKE_COMMAND} -S ${HOST_SOURCE} -B ${WORK}/cmake-hosts -G ${GENERATOR}
    ${toolchain} -DCMAKE_C_COMPILER=${C_COMPILER} "-DCMAKE_C_FLAGS=${c_flags_text}"
    "-DCMAKE_EXE_LINKER_FLAGS=${c_flags_text}" -DCMAKE_PREFIX_PATH=${ROOT} -DCMAKE_RUNTIME_OUTPUT_DIRECTORY=${WORK})
run("building the CMake hosts" ${CMAKE_COMMAND} --build ${WORK}/cmake-hosts)
run_host("the find_package host" ${WORK}/host${exe})
# Loaded at run time: LoadLibrary and GetProcAddress, or dlopen and dlsym.
run_host("the run-time host" ${WORK}/host-runtime${exe} ${library_file})

# pkg-config, as a Makefile does it; on Linux the program finds the library through LD_LIBRARY_PATH.
run("pkg-config" ${CMAKE_COMMAND} -E env PKG_CONFIG_PATH=${ROOT}/lib/pkgconfig ${PKG_CONFIG} --cflags --libs
    moru-integration)
separate_arguments(pkg_config_flags UNIX_COMMAND "${run_output}")
run("compiling the pkg-config host" ${C_COMPILER} ${warnings} ${C_FLAGS} ${HOST_SOURCE}/host.c ${pkg_config_flags}
    -o ${WORK}/pkg-config-host${exe})
if(WINE)
  run_host("the pkg-config host" ${WORK}/pkg-config-host${exe})
else()
  set(launch ${CMAKE_COMMAND} -E env LD_LIBRARY_PATH=${ROOT}/lib)
  run_host("the pkg-config host" ${WORK}/pkg-config-host)
  return()
endif()

# An MSVC-style toolchain: clang for the MSVC target and lld-link with the package's
# MoruIntegration.lib, over msvcrt.dll (mingw-w64's headers and import libraries stand in for an
# MSVC installation's C runtime).
foreach(source host msvc-start)
  run("compiling ${source}.c for ${TRIPLE}" ${CLANG} --target=${TRIPLE} ${warnings} -D__USE_MINGW_ANSI_STDIO=0
      -isystem ${MINGW_ROOT}/include -I${ROOT}/include -c ${HOST_SOURCE}/${source}.c -o ${WORK}/${source}.obj)
endforeach()
set(link_flags /subsystem:console /nodefaultlib ${WORK}/host.obj ${WORK}/msvc-start.obj
    ${MINGW_ROOT}/lib/libmsvcrt.a ${MINGW_ROOT}/lib/libkernel32.a)
if(TRIPLE MATCHES "^i686")
  # mingw-w64's import libraries carry no safe exception handler tables.
  list(APPEND link_flags /safeseh:no)
  set(machine i386)
else()
  set(machine i386:x86-64)
endif()
run("linking with MoruIntegration.lib" ${LLD_LINK} ${link_flags} ${ROOT}/lib/MoruIntegration.lib /out:${WORK}/msvc-host.exe)
run_host("the host linked with MoruIntegration.lib" ${WORK}/msvc-host.exe)
# The module-definition file makes a working import library of its own.
run("llvm-dlltool on MoruIntegration.def" ${LLVM_DLLTOOL} -m ${machine} -k -d ${ROOT}/lib/MoruIntegration.def
    -l ${WORK}/from-def.lib)
run("linking with the import library made from MoruIntegration.def" ${LLD_LINK} ${link_flags} ${WORK}/from-def.lib
    /out:${WORK}/def-host.exe)
run_host("the host linked with the import library made from MoruIntegration.def" ${WORK}/def-host.exe)
