# i386 (crossbuild-essential-i386). Run natively where the x86-64 kernel runs
# i386 programs itself (with libc6-i386, lib32stdc++6 and lib32gcc-s1
# installed); where it cannot (no 32-bit emulation in the kernel), under
# qemu-i386, with the sysroot's libraries ahead of this machine's 32-bit
# ones, which qemu-i386 would otherwise mix into forked children.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(ZU_CROSS_TRIPLET i686-linux-gnu)
execute_process(COMMAND /usr/${ZU_CROSS_TRIPLET}/lib/ld-linux.so.2 --version
    RESULT_VARIABLE zu_i386_native OUTPUT_QUIET ERROR_QUIET)
if(zu_i386_native STREQUAL "0")
    set(ZU_CROSS_QEMU "")
else()
    set(ZU_CROSS_QEMU qemu-i386)
    set(ZU_CROSS_QEMU_OPTIONS -E LD_LIBRARY_PATH=/usr/${ZU_CROSS_TRIPLET}/lib)
endif()
include("${CMAKE_CURRENT_LIST_DIR}/zu-debian-cross.cmake")
