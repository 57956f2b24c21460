# armhf, 32-bit ARM with hard float (crossbuild-essential-armhf), run under qemu-arm.
set(CMAKE_SYSTEM_PROCESSOR arm)
set(ZU_CROSS_TRIPLET arm-linux-gnueabihf)
set(ZU_CROSS_QEMU qemu-arm)
include("${CMAKE_CURRENT_LIST_DIR}/zu-debian-cross.cmake")
