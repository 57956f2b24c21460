# musl, from Debian's musl-tools: its musl-gcc wrapper, this machine's gcc
# with musl's headers and C library in glibc's place, for C and C++ sources
# alike; every program linked statically (musl-tools brings no dynamic
# loader). There is no C++ library built for musl: C++ sources see the C
# headers alone (-nostdinc++ makes <cstring> an error), and the C driver links
# them, offering no libstdc++. Nothing of this machine's own (GoogleTest above
# all) is found.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER musl-gcc)
set(CMAKE_CXX_COMPILER musl-gcc)
set(CMAKE_CXX_FLAGS_INIT -nostdinc++)
set(CMAKE_EXE_LINKER_FLAGS_INIT -static)

set(CMAKE_FIND_ROOT_PATH /usr/lib/x86_64-linux-musl /usr/include/x86_64-linux-musl)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# GoogleTest cannot be built without a C++ library: the tests that use it are
# built for this machine instead (the runner tests, driving the programs built
# here), and a C test of the operations runs here.
set(ZU_TARGET_HAS_NO_CXX_LIBRARY TRUE)
