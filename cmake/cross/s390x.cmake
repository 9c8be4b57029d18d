# Debian s390x: IBM Z, 64-bit big-endian.
set(CMAKE_SYSTEM_PROCESSOR s390x)
set(TOLVU_CROSS_TRIPLET s390x-linux-gnu)
set(TOLVU_CROSS_QEMU qemu-s390x-static)
include(${CMAKE_CURRENT_LIST_DIR}/debian.cmake)
