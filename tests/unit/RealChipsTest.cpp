// The processor line of real chips: each file of the shared CPUID results
// (a [cpu] section) in, the CPU line out. Chips of the tables' era take their
// table names; those beyond the tables are named by their brand strings.
#include "collectors/CpuInfo.h"

#include "tests/unit/CpuInfoPeer.h"
#include "tests/unit/MachineUnderTest.h"
#include "tests/unit/TestMachine.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace kel {
namespace {

struct ChipCase {
    const char* file;
    const char* line;
};

const ChipCase kChips[] = {
    // Beyond the tables (extended signature bits): named by the brand string.
    {"amd-ryzen-7-1800x-zen", "AMD Ryzen 7 1800X 3600Mhz (1CPUs)"},
    {"intel-atom-n270-bonnell", "Intel Atom N270 1600Mhz (1CPUs)"},
    {"intel-core-i7-2600k-sandybridge", "Intel Core i7-2600K 3400Mhz (1CPUs)"},
    {"intel-xeon-e5-2699v3-haswell-ep", "Intel Xeon E5-2699 v3 2300Mhz (1CPUs)"},
    // The tables' era, and family-6 and family-15 chips without extended bits
    // (Core 2, Tualatin, the first Athlon 64) as the tables name them.
    {"amd-athlon-64-clawhammer-2800plus", "AMD  1800Mhz (1CPUs)"},
    {"amd-athlon-pluto-750", "AMD K7 750Mhz (1CPUs)"},
    {"amd-athlon-thunderbird-1400", "AMD K7 1400Mhz (1CPUs)"},
    {"amd-duron-spitfire-600", "AMD K7 600Mhz (1CPUs)"},
    {"amd-k5-ssa5-pr75", "AMD K5 80Mhz (1CPUs)"},
    {"amd-k6-2-333", "AMD K6-II 333Mhz (1CPUs)"},
    {"amd-k6-233", "AMD K6 233Mhz (1CPUs)"},
    {"amd-k6-iii-400", "AMD K6-III 400Mhz (1CPUs)"},
    {"cyrix-6x86", "Cyrix 6x86 and 6x86L 133Mhz (1CPUs)"},
    {"cyrix-mii-250", "Cyrix M-II (PR300-433) 250Mhz (1CPUs)"},
    {"idt-winchip-c6-240", "IDT WinChip 233Mhz (1CPUs)"},
    {"intel-486dx4", "Intel i80486DX4 100Mhz (1CPUs)"},
    {"intel-celeron-covington-266", "Intel Celeron 266Mhz (1CPUs)"},
    {"intel-celeron-mendocino-300", "Intel Celeron A 300Mhz (1CPUs)"},
    {"intel-core2-duo-e6750", "Intel Pentium II 2660Mhz (1CPUs)"},
    {"intel-pentium-4-northwood-1600", "Intel Pentium IV 1600Mhz (1CPUs)"},
    {"intel-pentium-ii-deschutes-333", "Intel Pentium II 333Mhz (1CPUs)"},
    {"intel-pentium-ii-klamath", "Intel Pentium II 266Mhz (1CPUs)"},
    {"intel-pentium-ii-overdrive-333", "Intel Pentium II OverDrive 333Mhz (1CPUs)"},
    {"intel-pentium-iii-coppermine-733", "Intel Pentium III E 733Mhz (1CPUs)"},
    {"intel-pentium-iii-katmai-450", "Intel Pentium III 450Mhz (1CPUs)"},
    {"intel-pentium-iii-tualatin-1266", "Intel Pentium II 1266Mhz (1CPUs)"},
    {"intel-pentium-mmx-200", "Intel Pentium MMX 200Mhz (1CPUs)"},
    {"intel-pentium-overdrive-p24t-83", "Intel Pentium 80Mhz (1CPUs)"},
    {"intel-pentium-p5", "Intel Pentium 66Mhz (1CPUs)"},
    {"intel-pentium-p54c-100", "Intel Pentium 100Mhz (1CPUs)"},
    {"intel-pentium-pro-200", "Intel Pentium Pro 200Mhz (1CPUs)"},
    {"rise-mp6-pr233", "Rise  190Mhz (1CPUs)"},
    {"via-c3-ezra-800", "IDT  800Mhz (1CPUs)"},
    {"via-c3-samuel-2", "IDT  733Mhz (1CPUs)"},
};

// Real time-stamp counters run a little off the rated clock. Chips beyond
// the tables read their rating through today's marks; the others keep the
// old marks, which a Pentium 4 at 1594 MHz reads as 1590.
struct OffClockCase {
    const char* file;
    const char* tscMhz;
    const char* line;
};

const OffClockCase kOffClockChips[] = {
    {"amd-ryzen-7-1800x-zen", "3593.6", "AMD Ryzen 7 1800X 3600Mhz (1CPUs)"},
    {"intel-atom-n270-bonnell", "1593.9", "Intel Atom N270 1600Mhz (1CPUs)"},
    {"intel-core-i7-2600k-sandybridge", "3393.6", "Intel Core i7-2600K 3400Mhz (1CPUs)"},
    {"intel-xeon-e5-2699v3-haswell-ep", "2294.4", "Intel Xeon E5-2699 v3 2300Mhz (1CPUs)"},
    {"intel-xeon-e5-2699v3-haswell-ep", "2305.2", "Intel Xeon E5-2699 v3 2300Mhz (1CPUs)"},
    {"intel-pentium-4-northwood-1600", "1594.2", "Intel Pentium IV 1590Mhz (1CPUs)"},
    {"amd-athlon-64-clawhammer-2800plus", "1796.1", "AMD  1800Mhz (1CPUs)"},
};

std::string fileText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return in ? text.str() : std::string();
}

TEST(RealChips, EachChipsCpuLine)
{
    const std::string directory = std::string(KEL_SHARED_DIR) + "/cpuid";
    if (!std::filesystem::is_directory(directory))
        GTEST_SKIP() << directory << " is missing: the processors' CPUID results (KEL_SHARED_DIR)";
    for (const ChipCase& chip : kChips) {
        const std::string path = directory + "/" + chip.file + ".ini";
        const std::string section = fileText(path);
        ASSERT_FALSE(section.empty()) << "cannot read " << path;
        MachineUnderTest machine(test::kRegHeader, section);
        ASSERT_TRUE(machine) << chip.file;
        CpuInfo cpu;
        cpu.setCpuInfo();
        EXPECT_EQ(cpuLine(cpu), chip.line) << chip.file;
    }
}

// The file's section with its exact rated clock replaced by a counter's.
std::string withCounterAt(const std::string& section, const std::string& tscMhz)
{
    const std::size_t at = section.find("tsc_mhz = ");
    if (at == std::string::npos)
        return std::string();
    const std::size_t end = section.find('\n', at);
    return section.substr(0, at) + "tsc_mhz = " + tscMhz +
           (end == std::string::npos ? "" : section.substr(end));
}

TEST(RealChips, CountersOffTheRatedClock)
{
    const std::string directory = std::string(KEL_SHARED_DIR) + "/cpuid";
    if (!std::filesystem::is_directory(directory))
        GTEST_SKIP() << directory << " is missing: the processors' CPUID results (KEL_SHARED_DIR)";
    for (const OffClockCase& chip : kOffClockChips) {
        const std::string section =
            withCounterAt(fileText(directory + "/" + chip.file + ".ini"), chip.tscMhz);
        ASSERT_FALSE(section.empty()) << "no tsc_mhz in " << chip.file;
        MachineUnderTest machine(test::kRegHeader, section);
        ASSERT_TRUE(machine) << chip.file;
        CpuInfo cpu;
        cpu.setCpuInfo();
        EXPECT_EQ(cpuLine(cpu), chip.line) << chip.file << " at " << chip.tscMhz << " MHz";
    }
}

}  // namespace
}  // namespace kel
