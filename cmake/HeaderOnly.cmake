# moru_header_only(<target> <folder under /usr/include> <package> <imported target>)
# An interface target for one of Debian's header-only libraries. Native builds use the package's
# own CMake file; the cross compilers must not see all of /usr/include, so they get a directory
# holding nothing but a link to that library's folder.
function(moru_header_only target folder package imported)
  add_library(${target} INTERFACE)
  if(CMAKE_CROSSCOMPILING)
    set(root ${CMAKE_BINARY_DIR}/header-only/${target})
    if(NOT EXISTS ${root}/${folder})
      file(MAKE_DIRECTORY ${root})
      file(CREATE_LINK /usr/include/${folder} ${root}/${folder} SYMBOLIC)
    endif()
    target_include_directories(${target} SYSTEM INTERFACE ${root})
  else()
    find_package(${package} REQUIRED)
    target_link_libraries(${target} INTERFACE ${imported})
  endif()
endfunction()
