# Debian armhf: 32-bit ARMv7 with hardware floating point.
set(CMAKE_SYSTEM_PROCESSOR armv7l)
set(TOLVU_CROSS_TRIPLET arm-linux-gnueabihf)
set(TOLVU_CROSS_QEMU qemu-arm-static)
include(${CMAKE_CURRENT_LIST_DIR}/debian.cmake)
# GCC notes at every std::pair of doubles that GCC 7.1 changed how such
# arguments are passed on this ABI: nothing here links to code that old.
set(CMAKE_CXX_FLAGS_INIT -Wno-psabi)
