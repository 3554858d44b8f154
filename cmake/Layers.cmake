# The library's layers, each its own target whose include path holds only the layers it may use:
#   api -> subsystems -> interop -> service -> platform
# A layer's headers are reached as "<layer>/<Header>.h" through a directory of the build tree that
# holds a link to that layer alone, so an include of a layer above does not compile.

# moru_expose_folder(<target> <folder>): <target> and everything linked to it may include
# "<basename of folder>/..." and nothing else of the folder's parent.
function(moru_expose_folder target folder)
  get_filename_component(name ${folder} NAME)
  set(root ${CMAKE_BINARY_DIR}/layers/${target})
  if(NOT EXISTS ${root}/${name})
    file(MAKE_DIRECTORY ${root})
    file(CREATE_LINK ${folder} ${root}/${name} SYMBOLIC)
  endif()
  target_include_directories(${target} PUBLIC ${root})
endfunction()

# moru_layer(<folder under src> [USES <targets>...]): a static library of the folder's sources.
function(moru_layer name)
  cmake_parse_arguments(ARG "" "" "USES" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/${name}/*.cpp)
  add_library(moru_${name} STATIC ${sources})
  moru_expose_folder(moru_${name} ${PROJECT_SOURCE_DIR}/src/${name})
  target_link_libraries(moru_${name} PUBLIC ${ARG_USES})
endfunction()
