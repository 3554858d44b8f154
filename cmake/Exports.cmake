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
# _Name@N; --kill-at exports them bare. Windows builds also write, beside the DLL, the
# module-definition file <target>.def and the import libraries made from it: lib<target>.dll.a for
# MinGW linkers and <target>.lib for MSVC-style ones (cmake/ImportLibraries.cmake).
if(WIN32)
  find_program(MORU_LLVM_DLLTOOL NAMES llvm-dlltool llvm-dlltool-14 REQUIRED)
endif()
function(moru_restrict_exports target)
  if(WIN32)
    if(CMAKE_SIZEOF_VOID_P EQUAL 4)
      target_link_options(${target} PRIVATE -Wl,--kill-at)
      set(machine i386)
    else()
      set(machine i386:x86-64)
    endif()
    set(linker_def ${CMAKE_CURRENT_BINARY_DIR}/${target}.linker.def)
    set(dir ${CMAKE_RUNTIME_OUTPUT_DIRECTORY})
    target_link_options(${target} PRIVATE -Wl,--output-def,${linker_def})
    add_custom_command(TARGET ${target} POST_BUILD
      COMMAND ${CMAKE_COMMAND} -DLINKER_DEF=${linker_def} -DDLL=$<TARGET_FILE_NAME:${target}>
              -DDEF=${dir}/${target}.def -DDLLTOOL=${MORU_DLLTOOL}
              -DIMPLIB=$<TARGET_LINKER_FILE:${target}> -DLLVM_DLLTOOL=${MORU_LLVM_DLLTOOL}
              -DLIB=${dir}/${target}.lib -DMACHINE=${machine}
              -P ${PROJECT_SOURCE_DIR}/cmake/ImportLibraries.cmake
      BYPRODUCTS ${dir}/${target}.def ${dir}/${target}.lib
      VERBATIM)
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
