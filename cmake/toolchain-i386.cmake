# i386 (crossbuild-essential-i386). No emulator: the x86-64 kernel runs i386
# programs itself (with libc6-i386, lib32stdc++6 and lib32gcc-s1 installed), and
# qemu-i386 would mix this machine's 32-bit C library into forked children.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(ZU_CROSS_TRIPLET i686-linux-gnu)
set(ZU_CROSS_QEMU "")
include("${CMAKE_CURRENT_LIST_DIR}/zu-debian-cross.cmake")
