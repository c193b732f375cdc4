// Counts heap allocations made anywhere in the process, and separately those
// whose caller is this executable's own machine code: the program's scene and
// view code is linked in statically, while GLUT, libGL, Mesa, Xlib and the C++
// runtime are shared libraries.
#pragma once

#include <cstdint>

struct AllocationCount {
    std::uint64_t all;          // malloc and its relatives and operator new, from any code
    std::uint64_t fromOwnCode;  // of those, the ones called directly from this executable
};

// Totals since the process started.
AllocationCount allocationsSoFar();
