# s390x, 64-bit big-endian IBM Z (crossbuild-essential-s390x), run under qemu-s390x.
set(CMAKE_SYSTEM_PROCESSOR s390x)
set(ZU_CROSS_TRIPLET s390x-linux-gnu)
set(ZU_CROSS_QEMU qemu-s390x)
include("${CMAKE_CURRENT_LIST_DIR}/zu-debian-cross.cmake")
