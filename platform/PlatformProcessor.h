// The processor and clocks area of the platform seam: the identification
// and time-stamp instructions, the performance counter and the process's
// priority class.
#pragma once

#include <cstdint>

namespace kel {

struct CpuidRegs {
    uint32_t eax = 0, ebx = 0, ecx = 0, edx = 0;
};

constexpr uint32_t kNormalPriorityClass = 0x20;
constexpr uint32_t kHighPriorityClass = 0x80;

class PlatformProcessor {
public:
    virtual ~PlatformProcessor() = default;

    virtual bool hasCpuid() = 0;
    virtual CpuidRegs cpuid(uint32_t leaf) = 0;
    virtual bool hasTimeStampCounter() = 0;
    virtual uint32_t readTimeStampCounter() = 0;  // low 32 bits
    virtual bool queryPerformanceFrequency(int64_t* frequency) = 0;
    virtual bool queryPerformanceCounter(int64_t* counter) = 0;
    virtual uint32_t getPriorityClass() = 0;
    virtual bool setPriorityClass(uint32_t priorityClass) = 0;
};

}  // namespace kel
