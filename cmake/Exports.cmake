# The exports of the library are exactly the functions that the public header declares.
set(MORU_PUBLIC_HEADER ${PROJECT_SOURCE_DIR}/include/MoruIntegration.h)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${MORU_PUBLIC_HEADER})

function(moru_header_exports out)
  file(READ ${MORU_PUBLIC_HEADER} header)
  string(REGEX MATCHALL "MORU_API[^;(]*MORU_CALL[ \t]+[A-Za-z_][A-Za-z_0-9]*[ \t]*\\(" declarations "${header}")
  set(names "")
  foreach(declaration IN LISTS declarations)
    string(REGEX REPLACE ".*MORU_CALL[ \t]+([A-Za-z_][A-Za-z_0-9]*).*" "\\1" name "${declaration}")
    list(APPEND names ${name})
  endforeach()
  list(SORT names)
  set(${out} ${names} PARENT_SCOPE)
endfunction()

# Linux: a version script keeps every other symbol (template instances of the standard library
# included) out of the dynamic symbol table. 32-bit Windows: stdcall names would be exported as
# _Name@N; --kill-at exports them bare. Windows builds also write the module-definition file
# (<target>.def beside the DLL), for hosts whose linkers make their own import library from it.
function(moru_restrict_exports target)
  if(WIN32)
    if(CMAKE_SIZEOF_VOID_P EQUAL 4)
      target_link_options(${target} PRIVATE -Wl,--kill-at)
    endif()
    target_link_options(${target} PRIVATE -Wl,--output-def,$<TARGET_FILE_DIR:${target}>/${target}.def)
  else()
    moru_header_exports(names)
    set(script "{\n  global:\n")
    foreach(name IN LISTS names)
      string(APPEND script "    ${name};\n")
    endforeach()
    string(APPEND script "  local: *;\n};\n")
    set(map ${CMAKE_CURRENT_BINARY_DIR}/${target}.map)
    file(CONFIGURE OUTPUT ${map} CONTENT "${script}")
    target_link_options(${target} PRIVATE -Wl,--version-script=${map})
    set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${map})
  endif()
endfunction()
