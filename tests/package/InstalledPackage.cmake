# Installs the build into a scratch prefix and builds host.c against what was installed, once with
# find_package and once with pkg-config, then runs both hosts (and the installed moru) on the
# sample database. Run with cmake -P and:
#   BUILD_DIR    the build tree to install          PREFIX      the scratch prefix (emptied first)
#   HOST_SOURCE  this folder                        GENERATOR   C_COMPILER   PKG_CONFIG
#   CONFIG       the sample configuration           C_FLAGS     extra flags for compiling and linking, |-separated
cmake_minimum_required(VERSION 3.25)

function(run what)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE errors)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${what} failed (${status}):\n${output}\n${errors}")
  endif()
  set(run_output "${output}" PARENT_SCOPE)
endfunction()

function(expect_host_output what output)
  foreach(expected "databank SAMPLE\\.PURE \\(" "found \"water\": compound [0-9]+ in SAMPLE\\.PURE, name \"[^\"]+\", CAS 7732-18-5")
    if(NOT output MATCHES "${expected}")
      message(FATAL_ERROR "${what}: no line matching '${expected}' in:\n${output}")
    endif()
  endforeach()
endfunction()

string(REPLACE "|" ";" C_FLAGS "${C_FLAGS}")
string(REPLACE ";" " " c_flags_text "${C_FLAGS}")
file(REMOVE_RECURSE ${PREFIX})
run("cmake --install" ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX})

# Everything a host developer needs, where the README says it is.
foreach(installed include/MoruIntegration.h lib/MoruIntegration.so bin/moru bin/moru-db
                  lib/cmake/MoruIntegration/MoruIntegrationConfig.cmake lib/pkgconfig/moru-integration.pc)
  if(NOT EXISTS ${PREFIX}/${installed})
    message(FATAL_ERROR "cmake --install did not install ${installed}")
  endif()
endforeach()

# find_package, as a CMake project does it.
run("configuring the CMake host" ${CMAKE_COMMAND} -S ${HOST_SOURCE} -B ${PREFIX}/cmake-host -G ${GENERATOR}
    -DCMAKE_C_COMPILER=${C_COMPILER} "-DCMAKE_C_FLAGS=${c_flags_text}" "-DCMAKE_EXE_LINKER_FLAGS=${c_flags_text}"
    -DCMAKE_PREFIX_PATH=${PREFIX})
run("building the CMake host" ${CMAKE_COMMAND} --build ${PREFIX}/cmake-host)
run("the CMake host" ${PREFIX}/cmake-host/host ${CONFIG} SAMPLE.PURE water)
expect_host_output("the CMake host" "${run_output}")

# pkg-config, as a Makefile does it; the program finds the library through LD_LIBRARY_PATH.
run("pkg-config" ${CMAKE_COMMAND} -E env PKG_CONFIG_PATH=${PREFIX}/lib/pkgconfig
    ${PKG_CONFIG} --cflags --libs moru-integration)
separate_arguments(pkg_config_flags UNIX_COMMAND "${run_output}")
run("compiling the pkg-config host" ${C_COMPILER} -Wall -Wextra -Werror ${C_FLAGS} ${HOST_SOURCE}/host.c
    ${pkg_config_flags} -o ${PREFIX}/pkg-config-host)
run("the pkg-config host" ${CMAKE_COMMAND} -E env LD_LIBRARY_PATH=${PREFIX}/lib
    ${PREFIX}/pkg-config-host ${CONFIG} SAMPLE.PURE water)
expect_host_output("the pkg-config host" "${run_output}")

# The installed moru finds the installed library.
run("the installed moru" ${PREFIX}/bin/moru find ${CONFIG} SAMPLE.PURE water)
if(NOT run_output MATCHES "\"water\": compound [0-9]+ in SAMPLE\\.PURE")
  message(FATAL_ERROR "the installed moru found no water:\n${run_output}")
endif()
