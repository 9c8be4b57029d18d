# Debian i386: 32-bit x86 (i686), whose compiler computes on the x87 unit by default.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(TOLVU_CROSS_TRIPLET i686-linux-gnu)
set(TOLVU_CROSS_QEMU qemu-i386-static)
include(${CMAKE_CURRENT_LIST_DIR}/debian.cmake)
