#include "tools/bench/HeapCount.h"

#include <algorithm>
#include <cstdlib>
#include <new>

namespace kel::bench {

namespace {

HeapCount counts;

// Each block carries its size in front, kept at the platform's alignment.
constexpr std::size_t kHeader = alignof(std::max_align_t);

void* allocate(std::size_t size)
{
    void* block = std::malloc(size + kHeader);
    if (block == nullptr)
        throw std::bad_alloc();
    *static_cast<std::size_t*>(block) = size;
    ++counts.allocations;
    ++counts.blocks;
    counts.bytes += size;
    counts.peakBytes = std::max(counts.peakBytes, counts.bytes);
    return static_cast<char*>(block) + kHeader;
}

void release(void* pointer)
{
    if (pointer == nullptr)
        return;
    void* block = static_cast<char*>(pointer) - kHeader;
    --counts.blocks;
    counts.bytes -= *static_cast<std::size_t*>(block);
    std::free(block);
}

}  // namespace

HeapCount heapCount() { return counts; }

void resetHeapPeak() { counts.peakBytes = counts.bytes; }

}  // namespace kel::bench

void* operator new(std::size_t size) { return kel::bench::allocate(size); }
void* operator new[](std::size_t size) { return kel::bench::allocate(size); }
void operator delete(void* pointer) noexcept { kel::bench::release(pointer); }
void operator delete[](void* pointer) noexcept { kel::bench::release(pointer); }
void operator delete(void* pointer, std::size_t) noexcept { kel::bench::release(pointer); }
void operator delete[](void* pointer, std::size_t) noexcept { kel::bench::release(pointer); }
