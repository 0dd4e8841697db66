#include "AllocationFailure.h"

#include <cstdlib>
#include <new>

namespace {

thread_local long countdown = 0;  // 0: nothing armed
thread_local bool fired = false;

void* allocate(std::size_t size)
{
    if (countdown > 0 && --countdown == 0) {
        fired = true;
        throw std::bad_alloc();
    }
    void* p = std::malloc(size ? size : 1);
    if (!p)
        throw std::bad_alloc();
    return p;
}

}  // namespace

void* operator new(std::size_t size) { return allocate(size); }
void* operator new[](std::size_t size) { return allocate(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    try {
        return allocate(size);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept { return operator new(size, tag); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }

namespace kel::test {

FailAllocation::FailAllocation(long nth)
{
    fired = false;
    countdown = nth;
}

FailAllocation::~FailAllocation() { countdown = 0; }

bool FailAllocation::lastArmedFired() { return fired; }

}  // namespace kel::test
