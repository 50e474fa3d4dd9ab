# Cross-compiles for Windows with Debian's MinGW-w64 compilers (the "-win32"
# thread model: no winpthread library to ship). The including toolchain file
# sets CMAKE_SYSTEM_PROCESSOR (i686 or x86_64).
set(CMAKE_SYSTEM_NAME Windows)

set(korvane16_mingw_triple ${CMAKE_SYSTEM_PROCESSOR}-w64-mingw32)
set(CMAKE_C_COMPILER ${korvane16_mingw_triple}-gcc-win32)
set(CMAKE_CXX_COMPILER ${korvane16_mingw_triple}-g++-win32)
set(CMAKE_RC_COMPILER ${korvane16_mingw_triple}-windres)

# Libraries and headers come from the MinGW sysroot only; build tools from the host.
set(CMAKE_FIND_ROOT_PATH /usr/${korvane16_mingw_triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
