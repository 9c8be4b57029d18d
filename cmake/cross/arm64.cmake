# Debian arm64: 64-bit ARM, little-endian.
set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(TOLVU_CROSS_TRIPLET aarch64-linux-gnu)
set(TOLVU_CROSS_QEMU qemu-aarch64-static)
include(${CMAKE_CURRENT_LIST_DIR}/debian.cmake)
