// The blocks one loaded module allocates and has not freed, counted by
// redirecting its imports of the C runtime's, COM's and OLE Automation's
// allocators. The heap walk cannot show them one by one under Wine 10, whose
// low-fragmentation heap walks a whole group of small blocks as one block.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>
#include <vector>

namespace kel::test {

class ImportCounter {
public:
    // Redirects the module's allocator imports to counting wrappers, in place
    // in its import address table, until the counter is destroyed. One
    // counter at a time in a process: a second one redirects nothing.
    explicit ImportCounter(HMODULE module);
    ~ImportCounter();
    ImportCounter(const ImportCounter&) = delete;
    ImportCounter& operator=(const ImportCounter&) = delete;

    // The imports redirected, as "msvcrt.dll!malloc": empty when the module
    // imports none of the allocators, and then nothing is counted.
    const std::vector<std::string>& redirected() const { return redirected_; }

    // The module's blocks and strings allocated since the counter was made
    // and not freed yet.
    std::size_t live() const;
    // Every allocation seen, freed or not: shows that the wrappers are reached.
    unsigned long long allocations() const;

    // A block the module handed to its caller, who frees it through its own
    // imports: it is no longer the module's.
    void handedOut(const void* block);

private:
    struct Slot {
        void** at;
        void* original;
    };

    std::vector<Slot> slots_;
    std::vector<std::string> redirected_;
};

}  // namespace kel::test
