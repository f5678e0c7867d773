# Cross-builds the Windows x64 release with Debian's MinGW-w64 toolchain.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TOOLCHAIN_PREFIX x86_64-w64-mingw32)
# The POSIX thread model: GoogleTest needs std::mutex, which GCC 12's win32 model lacks. With
# -static its thread library links into the .exe.
set(CMAKE_C_COMPILER ${TOOLCHAIN_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TOOLCHAIN_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${TOOLCHAIN_PREFIX}-windres)

# Libraries and headers come from the MinGW sysroot and the prefix the caller names in
# CMAKE_PREFIX_PATH, never from the build machine's /usr.
set(CMAKE_FIND_ROOT_PATH /usr/${TOOLCHAIN_PREFIX} ${CMAKE_PREFIX_PATH})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Test executables run under Wine on the build machine.
find_program(WINE_LOADER NAMES wine wine64)
if(WINE_LOADER)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${WINE_LOADER})
endif()
