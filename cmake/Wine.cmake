# Windows builds run their test programs under Wine (CMAKE_CROSSCOMPILING_EMULATOR), each build in
# its own prefix, <build>/wineprefix: a 32-bit prefix for the x86 DLL, a 64-bit one for x64. The
# test moru_wine_prefix makes the prefix before any test needs it, and makes it anew when another
# Wine setup made it (cmake/WinePrefix.cmake).
set(MORU_WINE_PREFIX "")
if(NOT (WIN32 AND CMAKE_CROSSCOMPILING_EMULATOR))
  # Tests that run programs call this everywhere; off Wine it has nothing to do.
  function(moru_test_runs_under_wine test)
  endfunction()
  return()
endif()

set(MORU_WINE_PREFIX ${CMAKE_BINARY_DIR}/wineprefix)
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(moru_wine_arch win32)
else()
  set(moru_wine_arch win64)
endif()
list(GET CMAKE_CROSSCOMPILING_EMULATOR 0 moru_wine)
add_test(NAME moru_wine_prefix
         COMMAND ${CMAKE_COMMAND} -DWINE=${moru_wine} -DPREFIX=${MORU_WINE_PREFIX} -DARCH=${moru_wine_arch}
                 -P ${PROJECT_SOURCE_DIR}/cmake/WinePrefix.cmake)
set_tests_properties(moru_wine_prefix PROPERTIES FIXTURES_SETUP moru_wine TIMEOUT 900)

# A test that starts a Windows program: it waits for the prefix and runs there without dialogs or
# debug output (no offer to install the .NET and HTML engines).
function(moru_test_runs_under_wine test)
  set_property(TEST ${test} APPEND PROPERTY FIXTURES_REQUIRED moru_wine)
  set_property(TEST ${test} APPEND PROPERTY ENVIRONMENT
               "WINEPREFIX=${MORU_WINE_PREFIX}" "WINEDEBUG=-all" "WINEDLLOVERRIDES=mscoree,mshtml=")
endfunction()
