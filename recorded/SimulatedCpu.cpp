#include "recorded/SimulatedCpu.h"

namespace kel {

namespace {

// The process priority classes the platform accepts.
bool isPriorityClass(uint32_t value)
{
    static const uint32_t classes[] = {0x20, 0x40, 0x80, 0x100, 0x4000, 0x8000};
    for (uint32_t known : classes) {
        if (value == known)
            return true;
    }
    return false;
}

}  // namespace

SimulatedCpu::SimulatedCpu(const MachineFacts& facts) : facts_(facts) {}

CpuidRegs SimulatedCpu::cpuid(uint32_t leaf)
{
    if (anyLeafRun_ && leaf == lastLeaf_)
        ++leafPosition_;
    else
        leafPosition_ = 0;
    anyLeafRun_ = true;
    lastLeaf_ = leaf;
    auto found = facts_.cpuidLeaves.find(leaf);
    if (found == facts_.cpuidLeaves.end() || found->second.empty())
        return CpuidRegs{};
    const std::vector<CpuidRegs>& results = found->second;
    return results[leafPosition_ < results.size() ? leafPosition_ : results.size() - 1];
}

uint32_t SimulatedCpu::readTimeStampCounter() const
{
    if (facts_.qpcFrequency <= 0)
        return 0;
    // tsc_mhz * 10^6 is the recorded hundredths of MHz times 10^4.
    uint64_t cyclesPerSecond = facts_.tscHundredthsOfMhz * 10000;
    return static_cast<uint32_t>(mulDivFloor(static_cast<uint64_t>(counter_), cyclesPerSecond,
                                             static_cast<uint64_t>(facts_.qpcFrequency)));
}

bool SimulatedCpu::queryPerformanceFrequency(int64_t* frequency)
{
    counter_ = 0;
    *frequency = facts_.qpcFrequency;
    return facts_.qpcFrequency > 0;
}

bool SimulatedCpu::queryPerformanceCounter(int64_t* counter)
{
    if (facts_.qpcFrequency <= 0) {
        *counter = 0;
        return false;
    }
    *counter = counter_++;
    return true;
}

bool SimulatedCpu::setPriorityClass(uint32_t priorityClass)
{
    if (!isPriorityClass(priorityClass))
        return false;
    priorityClass_ = priorityClass;
    ++prioritySets_;
    return true;
}

uint64_t SimulatedCpu::mulDivFloor(uint64_t a, uint64_t b, uint64_t divisor)
{
    // The product as two 64-bit halves, from four 32-bit partial products.
    uint64_t aLow = a & 0xFFFFFFFFu, aHigh = a >> 32;
    uint64_t bLow = b & 0xFFFFFFFFu, bHigh = b >> 32;
    uint64_t lowLow = aLow * bLow;
    uint64_t middle1 = aHigh * bLow + (lowLow >> 32);
    uint64_t middle2 = aLow * bHigh + (middle1 & 0xFFFFFFFFu);
    uint64_t high = aHigh * bHigh + (middle1 >> 32) + (middle2 >> 32);
    uint64_t low = (middle2 << 32) | (lowLow & 0xFFFFFFFFu);
    // Long division, one bit at a time.
    uint64_t quotient = 0;
    uint64_t remainder = 0;
    for (int bit = 127; bit >= 0; --bit) {
        uint64_t next = bit >= 64 ? (high >> (bit - 64)) & 1 : (low >> bit) & 1;
        bool carry = (remainder >> 63) != 0;
        remainder = (remainder << 1) | next;
        quotient <<= 1;
        if (carry || remainder >= divisor) {
            remainder -= divisor;
            quotient |= 1;
        }
    }
    return quotient;
}

}  // namespace kel
