# arm64 (crossbuild-essential-arm64), run under qemu-aarch64.
set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(ZU_CROSS_TRIPLET aarch64-linux-gnu)
set(ZU_CROSS_QEMU qemu-aarch64)
include("${CMAKE_CURRENT_LIST_DIR}/zu-debian-cross.cmake")
