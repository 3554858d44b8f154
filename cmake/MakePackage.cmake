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
#   SOURCE_DIR the source tree: the licence, the notices, the changelog and the example hosts
#   OBJDUMP    the objdump of the target platform      SQLITE_VERSION  the SQLite of the Linux build
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

# The release documents: licence, notices with the full texts, changelog, the example hosts that
# the tests link, and what the package needs to run.
configure_file(${SOURCE_DIR}/LICENSE ${root}/LICENSE COPYONLY)
configure_file(${SOURCE_DIR}/CHANGELOG.md ${root}/CHANGELOG.md COPYONLY)
configure_file(${SOURCE_DIR}/package/THIRD-PARTY-NOTICES.md ${root}/THIRD-PARTY-NOTICES.md COPYONLY)
set(licenses sqlite libsqlite3-0 cli11 libcli11-dev nlohmann-json nlohmann-json3-dev
             chemical-structures-data chemical-structures-data)
if(OUTPUT MATCHES "\\.zip$")
  list(APPEND licenses mingw-w64 mingw-w64-common gcc-runtime gcc-mingw-w64-base)
endif()
while(licenses)
  list(POP_FRONT licenses name debian_package)
  set(copyright /usr/share/doc/${debian_package}/copyright)
  if(NOT EXISTS ${copyright})
    message(FATAL_ERROR "No licence text of ${name}: ${copyright} is missing")
  endif()
  configure_file(${copyright} ${root}/licenses/${name}.txt COPYONLY)
endwhile()
foreach(file host.c host-runtime.c tour.h msvc-start.c CMakeLists.txt)
  configure_file(${SOURCE_DIR}/tests/package/${file} ${root}/example/${file} COPYONLY)
endforeach()

if(OUTPUT MATCHES "\\.zip$")
  if(NAME MATCHES "x86$")
    set(requirements "- Windows 10 or Windows Server 2016, or later, 32-bit or 64-bit: the DLL and the programs are x86 \
(32-bit) and load only into 32-bit processes.\n")
  else()
    set(requirements "- Windows 10 or Windows Server 2016, or later, 64-bit: the DLL and the programs are x64 and \
load only into 64-bit processes.\n")
  endif()
  string(APPEND requirements "- Nothing else: the C and C++ runtimes and SQLite are linked in; the programs use only \
the system's own DLLs (kernel32, user32, oleaut32, msvcrt, shell32).\n")
else()
  # The newest symbol versions that the library and the programs ask of the C and C++ runtimes.
  set(glibc 0)
  set(glibcxx 0)
  file(GLOB linked ${root}/bin/* ${root}/lib/libMoruIntegration.so.*.*.*)
  list(FILTER linked EXCLUDE REGEX "\\.debug$")
  foreach(binary IN LISTS linked)
    execute_process(COMMAND ${OBJDUMP} -T ${binary} OUTPUT_VARIABLE symbols RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
      message(FATAL_ERROR "${OBJDUMP} -T failed on ${binary}")
    endif()
    string(REGEX MATCHALL "GLIBC_[0-9.]+" needed "${symbols}")
    foreach(version IN LISTS needed)
      string(REPLACE "GLIBC_" "" version ${version})
      if(version VERSION_GREATER glibc)
        set(glibc ${version})
      endif()
    endforeach()
    string(REGEX MATCHALL "GLIBCXX_[0-9.]+" needed "${symbols}")
    foreach(version IN LISTS needed)
      string(REPLACE "GLIBCXX_" "" version ${version})
      if(version VERSION_GREATER glibcxx)
        set(glibcxx ${version})
      endif()
    endforeach()
  endforeach()
  set(requirements "- Linux on x86-64 with glibc ${glibc} or later (the newest symbol version the library and \
the programs use)\n- libstdc++ providing GLIBCXX_${glibcxx} (the package was built with Debian 12's)\n\
- SQLite ${SQLITE_VERSION} or later as libsqlite3.so.0 (Debian and Ubuntu: the package libsqlite3-0)\n")
endif()
file(WRITE ${root}/REQUIREMENTS.md "# Minimum requirements\n\nTo run the library and the programs of this \
package:\n\n${requirements}\nTo build a host: a C compiler (C99) or C++ compiler and the header \
include/MoruIntegration.h; see README.md, Link it in an hour.\n")

# Programs and shared libraries: the installed files that are neither text, archives nor
# import libraries.
file(GLOB_RECURSE binaries LIST_DIRECTORIES false ${root}/bin/* ${root}/lib/*)
list(FILTER binaries EXCLUDE REGEX "\\.(a|lib|cmake|pc|h|json|md|def|debug)$")
foreach(binary IN LISTS binaries)
  # The SONAME and the link name are links to the library file, stripped once.
  if(IS_SYMLINK ${binary})
    continue()
  endif()
  run("copying the debug information of ${binary}" ${OBJCOPY} --only-keep-debug ${binary} ${binary}.debug)
  run("stripping ${binary}" ${OBJCOPY} --strip-debug --strip-unneeded ${binary})
  # The link names the file alone: the debugger looks for it beside the stripped file.
  run("linking ${binary} to its debug information" ${OBJCOPY} --add-gnu-debuglink=${binary}.debug ${binary})
endforeach()

# The checksum of every file, last, so that an unpacked package can be checked with
# sha256sum -c SHA256SUMS.
file(GLOB_RECURSE packaged LIST_DIRECTORIES false RELATIVE ${root} ${root}/*)
list(SORT packaged)
set(sums "")
foreach(file IN LISTS packaged)
  if(NOT IS_SYMLINK ${root}/${file})
    file(SHA256 ${root}/${file} sum)
    string(APPEND sums "${sum}  ${file}\n")
  endif()
endforeach()
file(WRITE ${root}/SHA256SUMS "${sums}")

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
