# The library's layers, each its own target whose include path holds only the layers it may use:
#   api -> subsystems -> interop -> service -> platform
# A layer's headers are reached as "<layer>/<Header>.h" through a directory of the build tree that
# holds a link to that layer alone, so an include of a layer above does not compile. Which layer
# uses which is the table of cmake/LayerRules.cmake, which the layering test reads too.
include(${CMAKE_CURRENT_LIST_DIR}/LayerRules.cmake)

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

# moru_layer(<folder under src>): a static library of the folder's sources, linked to the layers
# that the table lets it use (and to the public header from the layer that first sees it).
function(moru_layer name)
  if(NOT DEFINED moru_layer_uses_${name})
    message(FATAL_ERROR "src/${name} is not in the table of cmake/LayerRules.cmake")
  endif()
  file(GLOB sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/${name}/*.cpp)
  add_library(moru_${name} STATIC ${sources})
  moru_expose_folder(moru_${name} ${PROJECT_SOURCE_DIR}/src/${name})
  moru_layer_targets(${name} uses)
  target_link_libraries(moru_${name} PUBLIC ${uses})
  if(name STREQUAL moru_public_header_from)
    target_link_libraries(moru_${name} PUBLIC moru_public_header)
  endif()
endfunction()
