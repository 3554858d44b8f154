# Makes the package (cmake/MakePackage.cmake), unpacks it into a scratch folder and uses it as a
# host developer would (the Windows package under Wine): the demo of moru on the packaged sample
# database, and moru-db building the packaged sample source into a database that moru then searches.
# Run with cmake -P, the definitions of MakePackage.cmake (MORU_PACKAGE_DEFINITIONS) and:
#   OUTPUT  the archive to make (its folder is emptied)
#   WINE    the Wine loader, for the Windows package; empty for the Linux one
cmake_minimum_required(VERSION 3.25)
get_filename_component(work ${OUTPUT} DIRECTORY)
file(REMOVE_RECURSE ${work})
file(MAKE_DIRECTORY ${work})
include(${CMAKE_CURRENT_LIST_DIR}/../../cmake/MakePackage.cmake)

set(unpacked ${work}/unpacked)
file(MAKE_DIRECTORY ${unpacked})
set(run_in ${unpacked})
run("unpacking" ${CMAKE_COMMAND} -E tar xf ${OUTPUT})
set(root ${unpacked}/${NAME})
string(REGEX MATCH "[0-9]+\\.[0-9]+\\.[0-9]+" VERSION "${NAME}")

if(OUTPUT MATCHES "\\.zip$")
  set(exe .exe)
  set(library bin/MoruIntegration.dll)
  set(import_files lib/libMoruIntegration.dll.a lib/MoruIntegration.lib lib/MoruIntegration.def)
else()
  set(exe "")
  # The library file, its SONAME and its link name.
  file(GLOB library RELATIVE ${root} ${root}/lib/libMoruIntegration.so.*.*.*)
  list(FILTER library EXCLUDE REGEX "\\.debug$")
  string(REGEX REPLACE "^(.*\\.so\\.[0-9]+\\.[0-9]+)\\.[0-9]+$" "\\1" soname "${library}")
  set(import_files lib/pkgconfig/moru-integration.pc ${soname} lib/libMoruIntegration.so)
endif()
get_filename_component(library_name ${library} NAME)
foreach(file README.md include/MoruIntegration.h ${library} ${library}.debug ${import_files} bin/moru${exe}
             bin/moru${exe}.debug bin/moru-db${exe} bin/moru-db${exe}.debug sample/sample.db sample/sample.json
             sample/databases.json docs/configuration.md LICENSE THIRD-PARTY-NOTICES.md CHANGELOG.md REQUIREMENTS.md
             licenses/sqlite.txt licenses/cli11.txt licenses/nlohmann-json.txt licenses/chemical-structures-data.txt
             example/host.c example/tour.h example/host-runtime.c SHA256SUMS)
  if(NOT EXISTS ${root}/${file})
    message(FATAL_ERROR "the package holds no ${file}")
  endif()
endforeach()
# The API reference opens on its main page, which leads to a page per family.
if(EXISTS ${root}/docs/api/index.html)
  file(READ ${root}/docs/api/index.html index)
  if(NOT index MATCHES "group__family__lifecycle\\.html" OR NOT EXISTS ${root}/docs/api/group__family__bulk.html)
    message(FATAL_ERROR "docs/api/index.html leads to no family pages")
  endif()
endif()
# Every file is listed in SHA256SUMS with its checksum.
file(STRINGS ${root}/SHA256SUMS sums)
list(LENGTH sums sum_count)
if(sum_count LESS 20)
  message(FATAL_ERROR "SHA256SUMS lists ${sum_count} files")
endif()
foreach(line IN LISTS sums)
  string(REGEX MATCH "^([0-9a-f]+)  (.+)$" parsed "${line}")
  file(SHA256 ${root}/${CMAKE_MATCH_2} actual)
  if(NOT actual STREQUAL CMAKE_MATCH_1)
    message(FATAL_ERROR "SHA256SUMS: ${CMAKE_MATCH_2} has the checksum ${actual}, not ${CMAKE_MATCH_1}")
  endif()
endforeach()
file(READ ${root}/REQUIREMENTS.md requirements)
if(NOT requirements MATCHES "(glibc [0-9]+\\.[0-9]+|Windows 10)")
  message(FATAL_ERROR "REQUIREMENTS.md names no minimum system:\n${requirements}")
endif()
# Stripped: the library keeps no debug sections of its own.
# Stripped: the library has no DWARF of its own, its debug file has, and it names that file.
# (objcopy leaves no file for a section that is not there.)
execute_process(COMMAND ${OBJCOPY} --dump-section .debug_info=${work}/stripped-dwarf ${root}/${library}
                ${work}/library-copy OUTPUT_QUIET ERROR_QUIET)
execute_process(COMMAND ${OBJCOPY} --dump-section .debug_info=${work}/kept-dwarf ${root}/${library}.debug
                ${work}/debug-copy OUTPUT_QUIET ERROR_QUIET)
if(EXISTS ${work}/stripped-dwarf OR NOT EXISTS ${work}/kept-dwarf)
  message(FATAL_ERROR "${library} keeps its debug information, or ${library}.debug holds none")
endif()
execute_process(COMMAND ${OBJCOPY} --dump-section .gnu_debuglink=${work}/debuglink ${root}/${library}
                ${work}/library-copy RESULT_VARIABLE status)
file(READ ${work}/debuglink link)
if(NOT status EQUAL 0 OR NOT link MATCHES "^${library_name}\\.debug")
  message(FATAL_ERROR "${library} does not link to its debug information")
endif()
# The DLL's version resource holds its file and product version (UTF-16 texts).
if(exe)
  execute_process(COMMAND ${OBJCOPY} --dump-section .rsrc=${work}/resources ${root}/${library} ${work}/library-copy
                  RESULT_VARIABLE status)
  file(READ ${work}/resources resources HEX)
  set(utf16 "")
  foreach(text ProductVersion ${VERSION})
    string(HEX "${text}" hex)
    string(REGEX REPLACE "(..)" "\\100" hex "${hex}")
    list(APPEND utf16 ${hex})
  endforeach()
  foreach(hex IN LISTS utf16)
    if(NOT status EQUAL 0 OR NOT resources MATCHES "${hex}")
      message(FATAL_ERROR "${library} has no version resource of version ${VERSION}")
    endif()
  endforeach()
endif()
# The module-definition file names the DLL and lists the exports (the hosts of PackageHosts.cmake
# link through an import library made from it).
if(exe)
  file(READ ${root}/lib/MoruIntegration.def definitions)
  if(NOT definitions MATCHES "^LIBRARY \"MoruIntegration\\.dll\"\nEXPORTS\n" OR NOT definitions MATCHES "FoundCompounds_Find")
    message(FATAL_ERROR "MoruIntegration.def names no DLL or lists no exports:\n${definitions}")
  endif()
endif()

# run_program(<what> <program in bin> <arguments>...): output in run_output, failing on a non-zero status.
function(run_program what program)
  execute_process(COMMAND ${WINE} ${root}/bin/${program}${exe} ${ARGN} WORKING_DIRECTORY ${root}/bin
                  RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE errors)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${what} (${status}):\n${output}\n${errors}")
  endif()
  set(run_output "${output}" PARENT_SCOPE)
endfunction()

run_program("moru demo" moru demo)
if(NOT run_output MATCHES "\"ethanol\": compound [0-9]+ in SAMPLE\\.PURE")
  message(FATAL_ERROR "moru demo found no ethanol:\n${run_output}")
endif()
run_program("moru-db build" moru-db build ../sample/sample.json ${work}/rebuilt.db)
file(WRITE ${work}/rebuilt.json "{\"databases\": [{\"alias\": \"REBUILT\", \"path\": \"rebuilt.db\"}]}\n")
run_program("moru on the database that moru-db built" moru find ${work}/rebuilt.json REBUILT.PURE 64-17-5 CASRN)
if(NOT run_output MATCHES "compound [0-9]+ in REBUILT\\.PURE: name \"[Ee]thanol\"")
  message(FATAL_ERROR "moru found no ethanol in the database that moru-db built:\n${run_output}")
endif()
