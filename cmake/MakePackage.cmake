# Makes the package that a host developer downloads: the installed files, the sample database with its
# source and configuration, the documentation and the package's README, with every program and
# library stripped and its debug information in a file beside it (<file>.debug, linked from the
# stripped file). Run with cmake -P and:
#   BUILD_DIR  the build tree             NAME     the package's name (also its top folder)
#   OUTPUT     the archive: .zip or .tar.gz
#   OBJCOPY    the objcopy of the target platform
#   SAMPLE     the folder of the sample database (sample.db, sample.json, databases.json)
#   DOCS       the documentation folder   API_DOCS the generated API reference (may be absent)
#   README     the package's README
cmake_minimum_required(VERSION 3.25)

# run(<what> <command>...): the command, in the folder `run_in` when that is set.
function(run what)
  if(NOT run_in)
    set(run_in ${CMAKE_CURRENT_BINARY_DIR})
  endif()
  execute_process(COMMAND ${ARGN} WORKING_DIRECTORY ${run_in} RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE errors)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${what} failed (${status}):\n${output}\n${errors}")
  endif()
endfunction()

get_filename_component(output_dir ${OUTPUT} DIRECTORY)
set(stage ${output_dir}/stage)
set(root ${stage}/${NAME})
file(REMOVE_RECURSE ${stage})
file(REMOVE ${OUTPUT})
run("cmake --install" ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${root})

file(MAKE_DIRECTORY ${root}/sample ${root}/docs)
foreach(file sample.db sample.json databases.json)
  file(COPY ${SAMPLE}/${file} DESTINATION ${root}/sample)
endforeach()
file(GLOB doc_pages ${DOCS}/*.md)
file(COPY ${doc_pages} DESTINATION ${root}/docs)
if(API_DOCS AND EXISTS ${API_DOCS}/index.html)
  file(COPY ${API_DOCS}/ DESTINATION ${root}/docs/api)
endif()
configure_file(${README} ${root}/README.md COPYONLY)

# Programs and shared libraries: the installed files that are neither text, archives nor
# import libraries.
file(GLOB_RECURSE binaries LIST_DIRECTORIES false ${root}/bin/* ${root}/lib/*)
list(FILTER binaries EXCLUDE REGEX "\\.(a|cmake|pc|h|json|md|def|debug)$")
foreach(binary IN LISTS binaries)
  run("copying the debug information of ${binary}" ${OBJCOPY} --only-keep-debug ${binary} ${binary}.debug)
  run("stripping ${binary}" ${OBJCOPY} --strip-debug --strip-unneeded ${binary})
  # The link names the file alone: the debugger looks for it beside the stripped file.
  run("linking ${binary} to its debug information" ${OBJCOPY} --add-gnu-debuglink=${binary}.debug ${binary})
endforeach()

if(OUTPUT MATCHES "\\.zip$")
  set(format zip)
else()
  set(format gnutar)
  set(compress z)
endif()
set(run_in ${stage})
run("archiving" ${CMAKE_COMMAND} -E tar c${compress}f ${OUTPUT} --format=${format} ${NAME})
file(REMOVE_RECURSE ${stage})
message(STATUS "Package: ${OUTPUT}")
