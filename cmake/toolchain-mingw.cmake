# Windows x86-64, from Debian's MinGW-w64 (g++-mingw-w64-x86-64): the -posix
# compilers, whose C++ library has the threads GoogleTest needs. Programs are
# linked statically (the C++ library, libgcc and winpthread inside), needing
# only Windows' own DLLs. They run here under wine64, in a wine prefix of the
# build tree's own, made once before any test is listed.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_EXE_LINKER_FLAGS_INIT -static)

set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(ZU_WINE_PREFIX "${CMAKE_BINARY_DIR}/wine")
set(CMAKE_CROSSCOMPILING_EMULATOR "${CMAKE_COMMAND};-E;env;WINEPREFIX=${ZU_WINE_PREFIX};WINEDEBUG=-all;/usr/lib/wine/wine64")
