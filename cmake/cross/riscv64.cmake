# Debian riscv64: 64-bit RISC-V.
set(CMAKE_SYSTEM_PROCESSOR riscv64)
set(TOLVU_CROSS_TRIPLET riscv64-linux-gnu)
set(TOLVU_CROSS_QEMU qemu-riscv64-static)
include(${CMAKE_CURRENT_LIST_DIR}/debian.cmake)
