// The processor collector on recorded machines: the [cpu] section end to
// end, and the sample machines' CPU lines.
#include "collectors/CpuInfo.h"

#include "tests/unit/CpuInfoPeer.h"
#include "tests/unit/MachineUnderTest.h"

#include <gtest/gtest.h>

#include <string>

namespace kel {
namespace {

using test::kRegHeader;

// An Intel family-15 processor (no model table row needs the caches) with
// an exact clock against a 10 MHz performance counter.
std::string pentium4At(const std::string& tscMhz)
{
    return "[system]\nprocessors = 2\n"
           "[cpu]\n"
           "leaf.0 = 00000002 756E6547 6C65746E 49656E69\n"
           "leaf.1 = 00000F24 00000009 00000000 3FEBFBFF\n"
           "qpc_frequency = 10000000\n"
           "tsc_mhz = " +
           tscMhz + "\n";
}

TEST(CpuRecorded, TheTenthsRuleOnAnExactClock)
{
    // The nominal clock tells the rounded figure apart where the snapping
    // does: 2409 snaps down to 2400, 2410 up to 2420.
    const struct {
        const char* tscMhz;
        uint32_t raw, nominal, cycles;
    } cases[] = {
        {"2399.55", 2399, 2400, 3 * 239955}, {"2399.56", 2399, 2400, 3 * 239956},
        {"2409.55", 2409, 2400, 3 * 240955}, {"2409.56", 2409, 2420, 3 * 240956},
        {"2409.6", 2409, 2420, 3 * 240960},
    };
    for (const auto& c : cases) {
        MachineUnderTest machine(kRegHeader, pentium4At(c.tscMhz));
        ASSERT_TRUE(machine);
        CpuInfo cpu;
        cpu.setCpuInfo();
        const CpuInfoPeer f(cpu);
        EXPECT_EQ(f.rawSpeed(), c.raw) << "tsc_mhz " << c.tscMhz;
        EXPECT_EQ(f.cpuSpeed(), c.nominal) << "tsc_mhz " << c.tscMhz;
        EXPECT_EQ(f.tscCycles(), c.cycles) << "tsc_mhz " << c.tscMhz;
        EXPECT_EQ(f.elapsedMicroseconds(), 300u) << "tsc_mhz " << c.tscMhz;
        EXPECT_EQ(machine->prioritySetCount(), 6u) << "tsc_mhz " << c.tscMhz << ": three samples";
        EXPECT_EQ(machine->currentPriorityClass(), kNormalPriorityClass);
        EXPECT_EQ(cpuLine(cpu), "Intel Pentium IV " + std::to_string(c.nominal) + "Mhz (2CPUs)");
    }
}

// A Zen processor (extended family 8, its brand string): beyond the tables.
std::string ryzenAt(const std::string& tscMhz, const std::string& systemLines = "")
{
    return "[system]\n" + systemLines +
           "[cpu]\n"
           "leaf.0 = 0000000D 68747541 444D4163 69746E65\n"
           "leaf.1 = 00800F11 00100800 7ED8320B 178BFBFF\n"
           "leaf.80000000 = 8000001F 68747541 444D4163 69746E65\n"
           "leaf.80000002 = 20444D41 657A7952 2037206E 30303831\n"
           "leaf.80000003 = 69452058 2D746867 65726F43 6F725020\n"
           "leaf.80000004 = 73736563 2020726F 20202020 00202020\n"
           "qpc_frequency = 10000000\n"
           "tsc_mhz = " +
           tscMhz + "\n";
}

TEST(CpuRecorded, AProcessorBeyondTheTablesSnapsToTodaysMarks)
{
    const struct {
        const char* tscMhz;
        uint32_t beyond, within;
    } cases[] = {
        {"3194", 3200, 3190},
        {"3392", 3400, 3390},
        {"2894", 2900, 2890},
        {"3166", 3166, 3166},
        {"2833", 2833, 2833},
        {"2445", 2450, 2450},
        {"3110", 3100, 3120},
        // Rounded at the first decimal before either snapping.
        {"3393.6", 3400, 3390},
        {"3109.6", 3100, 3120},
    };
    for (const auto& c : cases) {
        for (bool beyond : {true, false}) {
            MachineUnderTest machine(kRegHeader, beyond ? ryzenAt(c.tscMhz) : pentium4At(c.tscMhz));
            ASSERT_TRUE(machine);
            CpuInfo cpu;
            cpu.setCpuInfo();
            EXPECT_EQ(CpuInfoPeer(cpu).cpuSpeed(), beyond ? c.beyond : c.within)
                << "tsc_mhz " << c.tscMhz << (beyond ? " beyond" : " within") << " the tables";
        }
    }
}

TEST(CpuRecorded, AProcessorBeyondTheTablesWithoutACounterReadsZero)
{
    MachineUnderTest machine(kRegHeader,
                             "[cpu]\nleaf.0 = 0000000D 68747541 444D4163 69746E65\n"
                             "leaf.1 = 00800F11 00100800 7ED8320B 178BFBFF\n");
    ASSERT_TRUE(machine);
    CpuInfo cpu;
    cpu.setCpuInfo();
    EXPECT_EQ(CpuInfoPeer(cpu).cpuSpeed(), 0u);
    EXPECT_EQ(CpuInfoPeer(cpu).measuredSpeed(), 0u);
}

TEST(CpuRecorded, ProcessorCountOfEveryGroupWhereTheSystemTellsIt)
{
    const struct {
        const char* system;
        uint32_t count;
    } cases[] = {
        {"processors = 32\nactive_processors = 48\n", 48},  // beyond what GetSystemInfo shows
        {"processors = 32\n", 32},                          // kernel32 without the function
        {"processors = 32\nactive_processors = 0\n", 32},   // the function answers nothing
        {"processors = 64\nactive_processors = 8\n", 8},
    };
    for (const auto& c : cases) {
        MachineUnderTest machine(kRegHeader, ryzenAt("3600", c.system));
        ASSERT_TRUE(machine);
        CpuInfo cpu;
        cpu.setCpuInfo();
        EXPECT_EQ(CpuInfoPeer(cpu).processorsNum(), c.count) << c.system;
        EXPECT_EQ(cpuLine(cpu), "AMD Ryzen 7 1800X 3600Mhz (" + std::to_string(c.count) + "CPUs)")
            << c.system;
    }
}

TEST(CpuRecorded, ReportLineOfAnExactClock)
{
    MachineUnderTest machine(kRegHeader, pentium4At("2399.55"));
    ASSERT_TRUE(machine);
    const std::string report = test::reportOf(*machine, ReportKind::Brief);
    EXPECT_NE(report.find("\nCPU: Intel Pentium IV 2400Mhz (2CPUs)\n"), std::string::npos) << report;
}

TEST(CpuRecorded, ASecondRunSeesTheSameProcessorThroughLeaf2Lists)
{
    // Leaf 2 needs two runs; its second result tells a 256 KB L2, which makes
    // family 6 model 6 a mobile Pentium II rather than a Celeron A.
    MachineUnderTest machine(kRegHeader,
                             "[cpu]\n"
                             "leaf.0 = 00000002 756E6547 6C65746E 49656E69\n"
                             "leaf.1 = 00000665 00000000 00000000 0183F9FF\n"
                             "leaf.2 = 00000002 00000000 00000000 00000041 ; "
                             "00000000 00000000 00000000 00000042\n"
                             "qpc_frequency = 3579545\n"
                             "tsc_mhz = 400.02\n");
    ASSERT_TRUE(machine);
    CpuInfo cpu;
    cpu.setCpuInfo();
    const std::string first = CpuInfoPeer(cpu).dump();
    EXPECT_EQ(CpuInfoPeer(cpu).l2CacheKb(), 256u);
    EXPECT_EQ(cpuLine(cpu), "Intel Pentium II PE (mobile) 400Mhz (1CPUs)");
    cpu.setCpuInfo();
    EXPECT_EQ(CpuInfoPeer(cpu).dump(), first);
}

TEST(CpuRecorded, AMachineWithoutCountersOrIdentification)
{
    const struct {
        const char* cpu;
        const char* line;
    } cases[] = {
        {"leaf.0 = 00000001 68747541 444D4163 69746E65\nleaf.1 = 00000580 0 0 0\n", "AMD K6-II 0Mhz (1CPUs)"},
        {"leaf.0 = 00000001 68747541 444D4163 69746E65\nleaf.1 = 00000580 0 0 0\n"
         "qpc_frequency = 1193180\ntsc_mhz = 300\ntsc = no\n",
         "AMD K6-II 0Mhz (1CPUs)"},
        {"leaf.0 = 00000001 68747541 444D4163 69746E65\nleaf.1 = 00000580 0 0 0\n"
         "qpc_frequency = 1193180\ntsc_mhz = 300\ncpuid = no\n",
         "  300Mhz (1CPUs)"},
    };
    for (const auto& c : cases) {
        MachineUnderTest machine(kRegHeader, std::string("[cpu]\n") + c.cpu);
        ASSERT_TRUE(machine);
        CpuInfo cpu;
        cpu.setCpuInfo();
        EXPECT_EQ(cpuLine(cpu), c.line) << c.cpu;
        EXPECT_EQ(machine->currentPriorityClass(), kNormalPriorityClass) << c.cpu;
    }
}

TEST(CpuRecorded, SampleMachines)
{
    const struct {
        const char* name;
        const char* line;
    } cases[] = {
        {"xp-desktop", "CPU: Intel Pentium III 500Mhz (1CPUs)"},
        {"win98se", "CPU: AMD K6-II 350Mhz (1CPUs)"},
    };
    for (const auto& c : cases) {
        std::string error;
        auto machine = RecordedMachine::load(test::sampleMachineDir(c.name), &error);
        ASSERT_TRUE(machine) << c.name << ": " << error;
        const std::string report = test::reportOf(*machine, ReportKind::Brief);
        EXPECT_NE(report.find(std::string("\n") + c.line + "\n"), std::string::npos) << c.name << ":\n"
                                                                                     << report;
    }
}

TEST(CpuRecorded, SampleMachineCaches)
{
    std::string error;
    auto xp = RecordedMachine::load(test::sampleMachineDir("xp-desktop"), &error);
    ASSERT_TRUE(xp) << error;
    {
        ScopedPlatform scoped(*xp);
        CpuInfo cpu;
        cpu.setCpuInfo();
        const CpuInfoPeer f(cpu);
        EXPECT_EQ(f.coreName(), "Katmai (0.25\xA5\xEC)");
        EXPECT_EQ(f.l2CacheKb(), 512u);
        EXPECT_EQ(f.l1DataKb(), 16u);
        EXPECT_EQ(f.l1CodeKb(), 16u);
        EXPECT_EQ(f.rawSpeed(), 497u);
    }
    auto k6 = RecordedMachine::load(test::sampleMachineDir("win98se"), &error);
    ASSERT_TRUE(k6) << error;
    {
        ScopedPlatform scoped(*k6);
        CpuInfo cpu;
        cpu.setCpuInfo();
        const CpuInfoPeer f(cpu);
        EXPECT_EQ(f.coreName(), "Chomper (0.25\xA5\xEC)");
        EXPECT_EQ(f.amdL1DataKb(), 32u);
        EXPECT_EQ(f.amdL1CodeKb(), 32u);
        EXPECT_EQ(f.amdL1TotalKb(), 64u);
        EXPECT_EQ(f.rawSpeed(), 350u);
    }
}

}  // namespace
}  // namespace kel
