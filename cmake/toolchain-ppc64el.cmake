# ppc64el, 64-bit POWER little-endian (crossbuild-essential-ppc64el), run under
# qemu-ppc64le.
set(CMAKE_SYSTEM_PROCESSOR ppc64le)
set(ZU_CROSS_TRIPLET powerpc64le-linux-gnu)
set(ZU_CROSS_QEMU qemu-ppc64le)
include("${CMAKE_CURRENT_LIST_DIR}/zu-debian-cross.cmake")
