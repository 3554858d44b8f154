# Windows builds run their test programs under Wine (CMAKE_CROSSCOMPILING_EMULATOR), each build in
# its own prefix, <build>/wineprefix: a 32-bit prefix for the x86 DLL, a 64-bit one for x64. The
# test moru_wine_prefix makes the prefix before any test needs it, and makes it anew when another
# Wine setup made it (cmake/WinePrefix.cmake).
set(MORU_WINE_PREFIX "")
if(NOT (WIN32 AND CMAKE_CROSSCOMPILING_EMULATOR))
  # Tests that run programs call this everywhere; off Wine it has nothing to do.
  function(moru_test_runs_under_wine test)
  endfunction()
  function(moru_test_opens_windows test)
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

# The virtual X display of this build. Every program under Wine sees it, so that whichever starts
# the prefix's desktop first starts it on the display and windows can be made there; the tests of
# the dialog component's windows open them on it. Its number comes from the build's folder, so
# that builds side by side do not meet; the first test that needs it starts it, and it stops after
# the last.
string(MD5 moru_display_hash ${CMAKE_BINARY_DIR})
string(SUBSTRING ${moru_display_hash} 0 3 moru_display_hash)
math(EXPR MORU_DISPLAY_NUMBER "200 + 0x${moru_display_hash} % 700")
set(moru_display_state ${CMAKE_BINARY_DIR}/display)
add_test(NAME moru_display_start COMMAND ${CMAKE_COMMAND} -DACTION=start -DNUMBER=${MORU_DISPLAY_NUMBER}
                                         -DSTATE=${moru_display_state} -P ${PROJECT_SOURCE_DIR}/cmake/VirtualDisplay.cmake)
add_test(NAME moru_display_stop COMMAND ${CMAKE_COMMAND} -DACTION=stop -DNUMBER=${MORU_DISPLAY_NUMBER}
                                        -DSTATE=${moru_display_state} -P ${PROJECT_SOURCE_DIR}/cmake/VirtualDisplay.cmake)
set_tests_properties(moru_display_start PROPERTIES FIXTURES_SETUP moru_display TIMEOUT 30)
set_tests_properties(moru_display_stop PROPERTIES FIXTURES_CLEANUP moru_display TIMEOUT 30)

# A test that starts a Windows program: it waits for the prefix and the display and runs there
# without dialogs or debug output (no offer to install the .NET and HTML engines).
function(moru_test_runs_under_wine test)
  set_property(TEST ${test} APPEND PROPERTY FIXTURES_REQUIRED moru_wine moru_display)
  set_property(TEST ${test} APPEND PROPERTY ENVIRONMENT
               "WINEPREFIX=${MORU_WINE_PREFIX}" "WINEDEBUG=-all" "WINEDLLOVERRIDES=mscoree,mshtml="
               "DISPLAY=:${MORU_DISPLAY_NUMBER}")
endfunction()

# A test whose program opens windows: it runs on the virtual display, one such test at a time (the
# scripted person's input goes to whichever window is in front), and leaves its pictures in
# <build>/screenshots.
function(moru_test_opens_windows test)
  moru_test_runs_under_wine(${test})
  set_property(TEST ${test} APPEND PROPERTY RESOURCE_LOCK moru_display)
  set_property(TEST ${test} APPEND PROPERTY ENVIRONMENT "MORU_DIALOG_SCREENSHOTS=${CMAKE_BINARY_DIR}/screenshots")
endfunction()
