// The processor and clocks of a recorded machine: recorded identification
// results, and an exact clock in which the performance counter advances by
// one at every read and the time-stamp counter runs at tsc_mhz against it,
// so that every clock measurement on a loaded machine gives the same figure.
#pragma once

#include "platform/Platform.h"
#include "recorded/MachineFacts.h"

#include <cstddef>
#include <cstdint>

namespace kel {

class SimulatedCpu {
public:
    explicit SimulatedCpu(const MachineFacts& facts);

    // Successive calls of one leaf walk through its recorded results, the
    // last one repeating; a call of any other leaf starts the walk again.
    CpuidRegs cpuid(uint32_t leaf);

    // floor(counter * tsc_mhz * 10^6 / qpc_frequency), low 32 bits.
    uint32_t readTimeStampCounter() const;
    // Restarts the performance counter at 0.
    bool queryPerformanceFrequency(int64_t* frequency);
    // Returns the counter, then advances it by one.
    bool queryPerformanceCounter(int64_t* counter);

    uint32_t priorityClass() const { return priorityClass_; }
    bool setPriorityClass(uint32_t priorityClass);
    unsigned prioritySetCount() const { return prioritySets_; }

    // floor(a * b / divisor) in 128-bit arithmetic, low 64 bits.
    static uint64_t mulDivFloor(uint64_t a, uint64_t b, uint64_t divisor);

private:
    const MachineFacts& facts_;
    int64_t counter_ = 0;
    bool anyLeafRun_ = false;
    uint32_t lastLeaf_ = 0;
    std::size_t leafPosition_ = 0;
    uint32_t priorityClass_ = kNormalPriorityClass;
    unsigned prioritySets_ = 0;
};

}  // namespace kel
