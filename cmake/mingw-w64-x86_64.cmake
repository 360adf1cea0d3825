# Cross-builds for 64-bit Windows with Debian's mingw-w64 (g++-mingw-w64-x86-64-posix).
# The programs link statically, so a .exe needs nothing beside it but the system's
# own DLLs; wine runs them for the tests.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(MANACALC_MINGW_PREFIX x86_64-w64-mingw32)
# GoogleTest also builds C, so both compilers are named.
set(CMAKE_C_COMPILER ${MANACALC_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${MANACALC_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${MANACALC_MINGW_PREFIX}-windres)

# Headers and libraries come from the target's root only; build tools from the host.
set(CMAKE_FIND_ROOT_PATH /usr/${MANACALC_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# libstdc++, libgcc and winpthread go into the .exe instead of DLLs beside it.
set(CMAKE_EXE_LINKER_FLAGS_INIT -static)

# CTest runs the test programs (and lists GoogleTest's cases) through wine.
find_program(MANACALC_WINE wine)
if(MANACALC_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${MANACALC_WINE})
endif()
