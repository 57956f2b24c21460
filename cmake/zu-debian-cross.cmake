# Shared by the toolchain files: Debian's cross compiler for ZU_CROSS_TRIPLET,
# with the target's libraries and headers from its sysroot only, so that
# nothing of this machine's (its GoogleTest above all) is found. Programs
# built for the target run under ZU_CROSS_QEMU, when one is named; the tests
# start them through it too, so that no binfmt_misc set-up is needed.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_C_COMPILER ${ZU_CROSS_TRIPLET}-gcc)
set(CMAKE_CXX_COMPILER ${ZU_CROSS_TRIPLET}-g++)

set(CMAKE_FIND_ROOT_PATH /usr/${ZU_CROSS_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

if(ZU_CROSS_QEMU)
    set(CMAKE_CROSSCOMPILING_EMULATOR /usr/bin/${ZU_CROSS_QEMU} -L /usr/${ZU_CROSS_TRIPLET}
        ${ZU_CROSS_QEMU_OPTIONS})
endif()
