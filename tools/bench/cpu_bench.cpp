// How long setCpuInfo takes on the real processor: median and worst of 50
// runs, and how many clock samples the runs took (each sample raises the
// priority class once). Not a test: run it by hand, under Wine or Windows.
#include "collectors/CpuInfo.h"
#include "tests/cpu/CpuOnlyPlatform.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

// The real platform, with the priority raises counted.
class CountingPlatform : public kel::CpuOnlyPlatform {
public:
    explicit CountingPlatform(kel::Platform& real) : real_(real) {}

    unsigned raises = 0;

    void unexpected(const char* service) override
    {
        std::fprintf(stderr, "cpu_bench: setCpuInfo called %s\n", service);
        std::abort();
    }
    void getSystemInfo(kel::SystemInfo* info) override { real_.getSystemInfo(info); }
    bool hasCpuid() override { return real_.hasCpuid(); }
    kel::CpuidRegs cpuid(uint32_t leaf) override { return real_.cpuid(leaf); }
    bool hasTimeStampCounter() override { return real_.hasTimeStampCounter(); }
    uint32_t readTimeStampCounter() override { return real_.readTimeStampCounter(); }
    bool queryPerformanceFrequency(int64_t* f) override { return real_.queryPerformanceFrequency(f); }
    bool queryPerformanceCounter(int64_t* c) override { return real_.queryPerformanceCounter(c); }
    uint32_t getPriorityClass() override { return real_.getPriorityClass(); }
    bool setPriorityClass(uint32_t priorityClass) override
    {
        raises += priorityClass == kel::kHighPriorityClass;
        return real_.setPriorityClass(priorityClass);
    }

private:
    kel::Platform& real_;
};

}  // namespace

int main()
{
    constexpr int kRuns = 50;
    CountingPlatform counting(kel::platform());
    kel::ScopedPlatform scoped(counting);

    std::vector<double> millis;
    std::vector<unsigned> samples;
    char line[1024] = "";
    for (int run = 0; run < kRuns; ++run) {
        const unsigned before = counting.raises;
        const auto start = std::chrono::steady_clock::now();
        kel::CpuInfo cpu;
        cpu.setCpuInfo();
        const auto end = std::chrono::steady_clock::now();
        millis.push_back(std::chrono::duration<double, std::milli>(end - start).count());
        samples.push_back(counting.raises - before);
        cpu.getCpuInfo(line, sizeof line);
    }
    std::sort(millis.begin(), millis.end());
    std::sort(samples.begin(), samples.end());
    std::printf("CPU: %s\n", line);
    std::printf("setCpuInfo, %d runs: median %.3f ms, worst %.3f ms\n", kRuns,
                (millis[kRuns / 2 - 1] + millis[kRuns / 2]) / 2, millis.back());
    std::printf("clock samples per run: min %u, median %u, max %u\n", samples.front(),
                samples[kRuns / 2], samples.back());
    return 0;
}
