# riscv64 (g++-riscv64-linux-gnu), run under qemu-riscv64.
set(CMAKE_SYSTEM_PROCESSOR riscv64)
set(ZU_CROSS_TRIPLET riscv64-linux-gnu)
set(ZU_CROSS_QEMU qemu-riscv64)
include("${CMAKE_CURRENT_LIST_DIR}/zu-debian-cross.cmake")
