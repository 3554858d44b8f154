# Makes the Wine prefix in which the Windows tests run, unless the prefix there was made by the same
# Wine setup. A prefix made by another setup is removed and made anew: one made before the 32-bit
# loader was installed, for instance, fails every 64-bit program with "could not load kernel32.dll".
# Usage: cmake -DWINE=wine -DPREFIX=<dir> -DARCH=win32|win64 -P WinePrefix.cmake
foreach(required WINE PREFIX ARCH)
  if(NOT ${required})
    message(FATAL_ERROR "WinePrefix.cmake needs -D${required}=...")
  endif()
endforeach()

# Everything Wine starts here runs without dialogs: no debug output, no offer to install the .NET
# and HTML engines, no display.
set(ENV{WINEPREFIX} ${PREFIX})
set(ENV{WINEARCH} ${ARCH})
set(ENV{WINEDEBUG} -all)
set(ENV{WINEDLLOVERRIDES} "mscoree,mshtml=")
unset(ENV{DISPLAY})
unset(ENV{WAYLAND_DISPLAY})

# The setup is the Wine version, the prefix's architecture and which loaders are installed (Debian's
# 32-bit loader comes with wine32, the 64-bit one with wine64), with their file times.
execute_process(COMMAND ${WINE} --version OUTPUT_VARIABLE wine_version RESULT_VARIABLE rc
                ERROR_QUIET OUTPUT_STRIP_TRAILING_WHITESPACE)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "'${WINE} --version' failed: is Wine installed? (scripts/setup installs it)")
endif()
set(setup "wine: ${wine_version}\narchitecture: ${ARCH}\n")
foreach(loader /usr/lib/wine/wine /usr/lib/wine/wine64)
  if(EXISTS ${loader})
    file(TIMESTAMP ${loader} installed UTC)
    string(APPEND setup "loader: ${loader} ${installed}\n")
  endif()
endforeach()

set(stamp ${PREFIX}/moru-wine-setup.txt)
if(EXISTS ${stamp})
  file(READ ${stamp} recorded)
  if(recorded STREQUAL setup)
    message(STATUS "Wine prefix ${PREFIX} is current")
    return()
  endif()
  message(STATUS "Wine prefix ${PREFIX} was made by another Wine setup: making it anew")
endif()

if(EXISTS ${PREFIX})
  # A server still running on the old prefix would keep its state, or write into the new one.
  execute_process(COMMAND wineserver -k OUTPUT_QUIET ERROR_QUIET TIMEOUT 30)
  file(REMOVE_RECURSE ${PREFIX})
endif()
get_filename_component(parent ${PREFIX} DIRECTORY)
file(MAKE_DIRECTORY ${parent})

message(STATUS "Making Wine prefix ${PREFIX} (${ARCH}, ${wine_version})")
execute_process(COMMAND ${WINE} wineboot --init RESULT_VARIABLE rc OUTPUT_VARIABLE output ERROR_VARIABLE output
                TIMEOUT 600)
if(rc EQUAL 0)
  # A test program that crashes prints its backtrace and ends, rather than waiting on a crash dialog.
  execute_process(COMMAND ${WINE} reg add "HKCU\\Software\\Wine\\WineDbg" /v ShowCrashDialog /t REG_DWORD /d 0 /f
                  RESULT_VARIABLE rc OUTPUT_VARIABLE reg_output ERROR_VARIABLE reg_output TIMEOUT 120)
  string(APPEND output "${reg_output}")
endif()
if(rc EQUAL 0)
  # wineboot returns before the server has written the registry; wait for it to finish.
  execute_process(COMMAND wineserver -w RESULT_VARIABLE rc TIMEOUT 120)
endif()
if(NOT rc EQUAL 0 OR NOT EXISTS ${PREFIX}/system.reg)
  file(REMOVE_RECURSE ${PREFIX})
  set(hint "")
  if(ARCH STREQUAL "win32")
    set(hint "\n32-bit programs need Wine's 32-bit loader (Debian's wine32:i386, which scripts/setup installs).")
  endif()
  message(FATAL_ERROR "Making the Wine prefix ${PREFIX} failed (${rc}):\n${output}${hint}")
endif()
file(WRITE ${stamp} "${setup}")
message(STATUS "Wine prefix ${PREFIX} made")
