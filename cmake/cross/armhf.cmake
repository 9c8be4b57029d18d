# Debian armhf: 32-bit ARMv7 with hardware floating point.
set(CMAKE_SYSTEM_PROCESSOR armv7l)
set(TOLVU_CROSS_TRIPLET arm-linux-gnueabihf)
set(TOLVU_CROSS_QEMU qemu-arm-static)
include(${CMAKE_CURRENT_LIST_DIR}/debian.cmake)
