# The layer rules, read by the build (cmake/Layers.cmake and the folders' CMakeLists.txt) and by
# the layering test (cmake/CheckLayers.cmake), so that the two cannot disagree.
# A folder of backends/ is included by its own name ("common/Stored.h" is backends/common).
#
# moru_layer_uses_<layer>: the layers that <layer> uses directly; it may use what those use in
# turn. A folder of src/ is named by its own name, a folder outside src/ by its path with "_" for
# "/" (backends_sqlite).
set(moru_layer_uses_platform "")
set(moru_layer_uses_service platform)
set(moru_layer_uses_interop service)
set(moru_layer_uses_session interop)
set(moru_layer_uses_compounds session)
set(moru_layer_uses_properties session)
set(moru_layer_uses_binary session)
set(moru_layer_uses_bulk session)
set(moru_layer_uses_reactions session)
set(moru_layer_uses_dialogs session)
set(moru_layer_uses_api compounds session properties binary bulk reactions dialogs)
set(moru_layer_uses_backends_common service platform)
set(moru_layer_uses_backends_sqlite backends_common service platform)
set(moru_layer_uses_backends_postgres backends_common service platform)
set(moru_layer_uses_backends_default backends_sqlite backends_postgres backends_common service)
set(moru_layer_uses_components_dialogs service platform)

# The public header is seen from this layer up: the door and what it shares with the subsystems
# (the callback types).
set(moru_public_header_from interop)
# Files that a layer includes by bare name without holding them: the case folding table is
# generated into the build tree.
set(moru_layer_extra_files_platform CaseFoldingTable.inc)

# The subsystems take and return C++ values; host buffers (char pointers) stay at the door.
set(moru_subsystems session compounds properties binary bulk reactions dialogs)

# moru_layers_below(<layer> <out>): every layer that <layer> may use, directly or through another.
function(moru_layers_below layer out)
  set(below)
  set(pending ${moru_layer_uses_${layer}})
  while(pending)
    list(POP_FRONT pending used)
    if(NOT used IN_LIST below)
      list(APPEND below ${used})
      list(APPEND pending ${moru_layer_uses_${used}})
    endif()
  endwhile()
  set(${out} ${below} PARENT_SCOPE)
endfunction()

# moru_layer_sees_public_header(<layer> <out>): whether <layer> may include the public header.
function(moru_layer_sees_public_header layer out)
  moru_layers_below(${layer} below)
  if(layer STREQUAL moru_public_header_from OR moru_public_header_from IN_LIST below)
    set(${out} TRUE PARENT_SCOPE)
  else()
    set(${out} FALSE PARENT_SCOPE)
  endif()
endfunction()

# moru_layer_targets(<layer> <out>): the targets of the layers that <layer> uses directly.
function(moru_layer_targets layer out)
  set(targets)
  foreach(used IN LISTS moru_layer_uses_${layer})
    list(APPEND targets moru_${used})
  endforeach()
  set(${out} ${targets} PARENT_SCOPE)
endfunction()
