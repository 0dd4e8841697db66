// Makes the Nth allocation of the current thread fail with std::bad_alloc, so
// that tests can walk every allocation of an operation in turn.
#pragma once

namespace kel::test {

class FailAllocation {
public:
    explicit FailAllocation(long nth);
    ~FailAllocation();
    FailAllocation(const FailAllocation&) = delete;
    FailAllocation& operator=(const FailAllocation&) = delete;

    // Whether the allocation armed by the last FailAllocation was reached.
    static bool lastArmedFired();
};

}  // namespace kel::test
