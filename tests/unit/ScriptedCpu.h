// A processor and its clocks scripted by a test: identification results per
// leaf, the performance counter, the time-stamp counter and the priority
// class, with a record of what the collector did to them. Everything else is
// an empty machine's.
#pragma once

#include "recorded/RecordedMachine.h"

#include <gtest/gtest.h>

#include <deque>
#include <map>
#include <string>
#include <vector>

namespace kel {

class ScriptedCpu : public RecordedMachine {
public:
    // Successive calls of one leaf answer its results in turn, the last one
    // repeating; a call of another leaf in between starts the list again.
    // A leaf without results answers zeros.
    std::map<uint32_t, std::vector<CpuidRegs>> leaves;
    bool cpuidPresent = true;
    std::vector<uint32_t> leafCalls;

    uint32_t processors = 1;

    bool tscPresent = true;
    int64_t frequency = 10000000;   // 0: the frequency query fails
    int64_t counterStep = 1;        // the counter advances so much at every read
    int64_t counterReadsLeft = -1;  // reads that succeed before reads fail; -1: all
    // Time-stamp readings in order. When none are scripted, the counter reads
    // tscHundredthsMhz / 100 MHz: floor(counter x rate / frequency).
    std::deque<uint32_t> stamps;
    uint64_t tscHundredthsMhz = 0;

    uint32_t priorityClass = kNormalPriorityClass;
    std::vector<uint32_t> prioritySets;
    unsigned stampsAtOtherPriority = 0;
    unsigned counterReads = 0;
    unsigned stampReads = 0;

    bool hasCpuid() override { return cpuidPresent; }

    CpuidRegs cpuid(uint32_t leaf) override
    {
        if (!cpuidPresent)
            ADD_FAILURE() << "cpuid(" << std::hex << leaf << ") on a processor without it";
        turn_ = (!leafCalls.empty() && leafCalls.back() == leaf) ? turn_ + 1 : 0;
        leafCalls.push_back(leaf);
        const auto found = leaves.find(leaf);
        if (found == leaves.end() || found->second.empty())
            return CpuidRegs{};
        const std::vector<CpuidRegs>& results = found->second;
        return results[turn_ < results.size() ? turn_ : results.size() - 1];
    }

    void getSystemInfo(SystemInfo* info) override
    {
        *info = SystemInfo{};
        info->numberOfProcessors = processors;
    }

    bool hasTimeStampCounter() override { return tscPresent; }

    uint32_t readTimeStampCounter() override
    {
        if (!tscPresent)
            ADD_FAILURE() << "time-stamp counter read on a processor without it";
        ++stampReads;
        if (priorityClass != kHighPriorityClass)
            ++stampsAtOtherPriority;
        if (!stamps.empty()) {
            const uint32_t stamp = stamps.front();
            stamps.pop_front();
            return stamp;
        }
        if (frequency <= 0)
            return 0;
        const uint64_t cycles =
            static_cast<uint64_t>(counter_) * tscHundredthsMhz * 10000 / static_cast<uint64_t>(frequency);
        return static_cast<uint32_t>(cycles);
    }

    bool queryPerformanceFrequency(int64_t* value) override
    {
        *value = frequency;
        return frequency != 0;
    }

    bool queryPerformanceCounter(int64_t* value) override
    {
        if (counterReadsLeft == 0)
            return false;
        if (counterReadsLeft > 0)
            --counterReadsLeft;
        ++counterReads;
        counter_ += counterStep;
        *value = counter_;
        return true;
    }

    uint32_t getPriorityClass() override { return priorityClass; }

    bool setPriorityClass(uint32_t value) override
    {
        prioritySets.push_back(value);
        priorityClass = value;
        return true;
    }

    // Scripts the samples' figures: with the defaults a sample reads the
    // counter three times, 1000 ticks apart, which at 10 MHz is 100 us, and
    // the time-stamp counter twice, figure x 100 cycles apart.
    void scriptFigures(const std::vector<uint32_t>& figures)
    {
        counterStep = 1000;
        uint32_t base = 5000;
        for (uint32_t figure : figures) {
            stamps.push_back(base);
            stamps.push_back(base + figure * 100);
            base += figure * 100 + 777;
        }
    }

private:
    int64_t counter_ = 0;
    std::size_t turn_ = 0;
};

// Leaf 0 naming a vendor: up to twelve bytes in EBX, EDX, ECX, NULs after
// a shorter name.
inline CpuidRegs vendorLeaf(const std::string& id, uint32_t highestLeaf = 2)
{
    unsigned char bytes[12] = {};
    for (std::size_t i = 0; i < id.size() && i < 12; ++i)
        bytes[i] = static_cast<unsigned char>(id[i]);
    auto word = [&](int at) {
        return static_cast<uint32_t>(bytes[at]) | static_cast<uint32_t>(bytes[at + 1]) << 8 |
               static_cast<uint32_t>(bytes[at + 2]) << 16 | static_cast<uint32_t>(bytes[at + 3]) << 24;
    };
    return CpuidRegs{highestLeaf, word(0), word(8), word(4)};
}

// Leaf 1 for a signature.
inline CpuidRegs signatureLeaf(uint32_t family, uint32_t model, uint32_t type = 0, uint32_t brandIndex = 0,
                               uint32_t stepping = 3)
{
    return CpuidRegs{type << 12 | family << 8 | model << 4 | stepping, brandIndex, 0, 0};
}

}  // namespace kel
