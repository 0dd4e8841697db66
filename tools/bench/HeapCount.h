// The program's own operator new, counted: allocations made, blocks and bytes
// in use and the peak of bytes in use. A program built with HeapCount.cpp
// has its global allocation functions replaced, so that what a collector
// allocates shows apart from what the platform's own libraries do.
#pragma once

#include <cstddef>

namespace kel::bench {

struct HeapCount {
    std::size_t allocations = 0;
    std::size_t blocks = 0;
    std::size_t bytes = 0;
    std::size_t peakBytes = 0;
};

// The counts so far; resetPeak starts a new peak from the bytes in use now.
HeapCount heapCount();
void resetHeapPeak();

}  // namespace kel::bench
