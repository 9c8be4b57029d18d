# Cross-compiles with one of Debian's cross toolchains (g++-TRIPLET) and runs
# what it built under qemu-user, so ctest and the tests that start programs
# work on the host without binfmt_misc. Included by the per-architecture
# files beside it, which set TOLVU_CROSS_TRIPLET, TOLVU_CROSS_QEMU and
# CMAKE_SYSTEM_PROCESSOR.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_CXX_COMPILER ${TOLVU_CROSS_TRIPLET}-g++)

# Libraries and headers from the target's tree only; programs from the host.
set(CMAKE_FIND_ROOT_PATH /usr/${TOLVU_CROSS_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# -L gives the emulator the target's dynamic loader and C++ run-time.
set(CMAKE_CROSSCOMPILING_EMULATOR ${TOLVU_CROSS_QEMU} -L /usr/${TOLVU_CROSS_TRIPLET})
