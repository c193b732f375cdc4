# Cross-builds for 64-bit Windows with Debian's mingw-w64 compilers
# (g++-mingw-w64-x86-64-posix): the posix-threads ones, whose C++ runtime has
# std::thread and friends on winpthreads.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(triplet x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${triplet}-gcc-posix)
set(CMAKE_CXX_COMPILER ${triplet}-g++-posix)
set(CMAKE_RC_COMPILER ${triplet}-windres)

# Libraries and headers of the target only; programs (icotool, git) of the build machine.
set(CMAKE_FIND_ROOT_PATH /usr/${triplet})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# One .exe that runs on any Windows: the C++ runtime, libgcc and winpthreads
# linked in (-static), so that it needs no DLL of mingw-w64's. The linker
# writes no link time into the PE header, so two links give the same bytes.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -Wl,--no-insert-timestamp")

# CTest runs the cross-built test programs under Wine (tests/with-wine).
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../tests/with-wine)
