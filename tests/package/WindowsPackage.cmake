# Makes the Windows package (cmake/MakePackage.cmake), unpacks it into a scratch folder and uses
# it as a host developer would, under Wine: the demo of moru.exe on the packaged sample database,
# and moru-db.exe building the packaged sample source into a database that moru.exe then searches.
# Run with cmake -P, the definitions of MakePackage.cmake (MORU_PACKAGE_DEFINITIONS) and:
#   OUTPUT  the archive to make (its folder is emptied)      WINE  the Wine loader
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

foreach(file README.md include/MoruIntegration.h bin/MoruIntegration.dll bin/MoruIntegration.dll.debug
             lib/libMoruIntegration.dll.a lib/MoruIntegration.def bin/moru.exe bin/moru.exe.debug bin/moru-db.exe
             bin/moru-db.exe.debug sample/sample.db sample/sample.json sample/databases.json docs/configuration.md)
  if(NOT EXISTS ${root}/${file})
    message(FATAL_ERROR "the package holds no ${file}")
  endif()
endforeach()
# Stripped: the library keeps no debug sections of its own.
execute_process(COMMAND ${OBJCOPY} --dump-section .gnu_debuglink=${work}/debuglink ${root}/bin/MoruIntegration.dll
                RESULT_VARIABLE status)
file(READ ${work}/debuglink link)
if(NOT status EQUAL 0 OR NOT link MATCHES "^MoruIntegration\\.dll\\.debug")
  message(FATAL_ERROR "MoruIntegration.dll does not link to its debug information")
endif()
file(SIZE ${root}/bin/MoruIntegration.dll stripped)
file(SIZE ${root}/bin/MoruIntegration.dll.debug debug)
if(stripped GREATER debug)
  message(FATAL_ERROR "MoruIntegration.dll (${stripped} bytes) is larger than its debug information (${debug})")
endif()
# Every export is listed in the module-definition file.
file(READ ${root}/lib/MoruIntegration.def definitions)
if(NOT definitions MATCHES "EXPORTS" OR NOT definitions MATCHES "FoundCompounds_Find")
  message(FATAL_ERROR "MoruIntegration.def lists no exports:\n${definitions}")
endif()

set(run_in ${root}/bin)
execute_process(COMMAND ${WINE} moru.exe demo WORKING_DIRECTORY ${root}/bin RESULT_VARIABLE status
                OUTPUT_VARIABLE output ERROR_VARIABLE errors)
if(NOT status EQUAL 0 OR NOT output MATCHES "\"ethanol\": compound [0-9]+ in SAMPLE\\.PURE")
  message(FATAL_ERROR "moru.exe demo (${status}):\n${output}\n${errors}")
endif()
run("moru-db.exe build" ${WINE} moru-db.exe build ../sample/sample.json ${work}/rebuilt.db)
file(WRITE ${work}/rebuilt.json "{\"databases\": [{\"alias\": \"REBUILT\", \"path\": \"rebuilt.db\"}]}\n")
execute_process(COMMAND ${WINE} moru.exe find ${work}/rebuilt.json REBUILT.PURE 64-17-5 CASRN
                WORKING_DIRECTORY ${root}/bin RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE errors)
if(NOT status EQUAL 0 OR NOT output MATCHES "compound [0-9]+ in REBUILT\\.PURE: name \"[Ee]thanol\"")
  message(FATAL_ERROR "moru.exe on the database that moru-db.exe built (${status}):\n${output}\n${errors}")
endif()
