// Brand strings of real chips as model names, and which signatures lie
// beyond the model tables.
#include "collectors/CpuBrand.h"
#include "collectors/CpuInfo.h"

#include "tests/unit/CpuInfoPeer.h"
#include "tests/unit/MachineUnderTest.h"
#include "tests/unit/TestMachine.h"

#include <gtest/gtest.h>

namespace kel {
namespace {

TEST(CpuBrand, CleaningRealBrandStrings)
{
    const struct {
        const char* brand;
        const char* vendor;
        const char* name;
    } cases[] = {
        {"Intel(R) Core(TM) i7-8700K CPU @ 3.70GHz", "Intel", "Core i7-8700K"},
        {"12th Gen Intel(R) Core(TM) i9-12900K", "Intel", "12th Gen Core i9-12900K"},
        {"AMD Ryzen 9 5950X 16-Core Processor", "AMD", "Ryzen 9 5950X"},
        {"AMD EPYC 7742 64-Core Processor", "AMD", "EPYC 7742"},
        {"Intel(R) Xeon(R) Gold 6154 CPU @ 3.00GHz", "Intel", "Xeon Gold 6154"},
        {"AMD FX(tm)-8150 Eight-Core Processor", "AMD", "FX-8150"},
        {"       Intel(R) Core(TM) i7 CPU         920  @ 2.67GHz", "Intel", "Core i7 920"},
        {"AMD Ryzen 7 5800H with Radeon Graphics", "AMD", "Ryzen 7 5800H"},
        {"AMD A10-7850K Radeon R7, 12 Compute Cores 4C+8G", "AMD",
         "A10-7850K Radeon R7, 12 Compute Cores 4C+8G"},
        {"AMD Athlon(tm) II X4 640 Processor with extras", "AMD", "Athlon II X4 640 with extras"},
        {"AMD Phenom(tm) II X6 1090T Processor", "AMD", "Phenom II X6 1090T"},
        {"AMD A8-3850 APU with Radeon(tm) HD Graphics", "AMD", "A8-3850"},
        {"AMD Turion(tm) 64 X2 w/ Radeon", "AMD", "Turion 64 X2"},
        {"Hygon C86 3185  8-core Processor", "", "Hygon C86 3185 8-core"},
        {"AMD EPYC 7763 64-Core Processor", "", "AMD EPYC 7763"},  // no vendor row: nothing dropped for it
        {"Intel(r) Pentium(r) Dual-Core CPU E5200", "Intel", "Pentium E5200"},
        {"CPU @ 2.0GHz", "Intel", ""},  // cleaning may leave nothing
        {"Quad-Core Six-Core Ten-Core Twelve-Core Sixteen-Core 1-Core -Core x-Core", "", "-Core x-Core"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(cpu::modelNameFromBrand(c.brand, c.vendor), c.name) << '"' << c.brand << '"';
}

TEST(CpuBrand, ExtendedSignatureBits)
{
    EXPECT_FALSE(cpu::beyondModelTables(0x000006FB)) << "Core 2: family 6 model 15, no extension";
    EXPECT_FALSE(cpu::beyondModelTables(0x00000F4A)) << "the first Athlon 64";
    EXPECT_FALSE(cpu::beyondModelTables(0xF000FFFF)) << "reserved bits 31-28 are no extension";
    EXPECT_TRUE(cpu::beyondModelTables(0x00010676)) << "Penryn: extended model 1";
    EXPECT_TRUE(cpu::beyondModelTables(0x00100F22)) << "Phenom: extended family 1";
    EXPECT_TRUE(cpu::beyondModelTables(0x0FF00000));
}

// A leaf-1 signature, leaf 0x80000000 and a brand string, on a recorded
// machine with an exact 1000 MHz clock.
std::string chip(const char* vendorLeaf, const char* signature, const char* extended, const char* brand)
{
    std::string ini = std::string("[cpu]\nleaf.0 = ") + vendorLeaf + "\nleaf.1 = " + signature +
                      " 0 0 0\nleaf.80000000 = " + extended + " 0 0 0\n";
    // The brand string, 16 bytes per leaf, each register low byte first.
    char bytes[48] = {};
    std::string(brand).copy(bytes, sizeof bytes);
    for (int leaf = 0; leaf < 3; ++leaf) {
        ini += "leaf.8000000" + std::to_string(2 + leaf) + " =";
        for (int reg = 0; reg < 4; ++reg) {
            uint32_t word = 0;
            for (int b = 3; b >= 0; --b)
                word = word << 8 | static_cast<uint8_t>(bytes[leaf * 16 + reg * 4 + b]);
            char hex[12];
            std::snprintf(hex, sizeof hex, " %08X", word);
            ini += hex;
        }
        ini += "\n";
    }
    return ini + "qpc_frequency = 10000000\ntsc_mhz = 1000\n";
}

const char kIntel[] = "0000000D 756E6547 6C65746E 49656E69";
const char kAmd[] = "0000000D 68747541 444D4163 69746E65";
const char kUnknown[] = "0000000D 6F677948 656E6975 6E65476E";  // HygonGenuine

TEST(CpuBrand, WhichProcessorsTheBrandStringNames)
{
    const struct {
        const char* vendor;
        const char* signature;
        const char* extended;
        const char* brand;
        const char* line;
    } cases[] = {
        {kIntel, "000906EA", "80000008", "Intel(R) Core(TM) i7-8700K CPU @ 3.70GHz",
         "Intel Core i7-8700K 1000Mhz (1CPUs)"},
        {kAmd, "00A20F10", "80000020", "AMD Ryzen 9 5950X 16-Core Processor",
         "AMD Ryzen 9 5950X 1000Mhz (1CPUs)"},
        {kUnknown, "00900F01", "80000004", "Hygon C86 3185  8-core Processor",
         " Hygon C86 3185 8-core 1000Mhz (1CPUs)"},
        // Beyond the tables but without the brand leaves: the table routine runs.
        {kIntel, "000206A7", "80000003", "Intel(R) Core(TM) i7-2600K CPU @ 3.40GHz",
         "Intel Pentium II 1000Mhz (1CPUs)"},
        {kAmd, "00100F42", "7FFFFFFF", "AMD Phenom(tm) II X4 940 Processor", "AMD  1000Mhz (1CPUs)"},
        // The tables' era keeps its table name, brand string or not.
        {kIntel, "000006B1", "80000004", "Intel(R) Pentium(R) III CPU 1266MHz",
         "Intel Pentium II 1000Mhz (1CPUs)"},
        {kAmd, "00000644", "80000004", "AMD Athlon(tm) Processor", "AMD K7 1000Mhz (1CPUs)"},
        // A brand string cleaned to nothing is still the name.
        {kIntel, "000306A9", "80000004", "Intel(R) CPU @ 2.00GHz", "Intel  1000Mhz (1CPUs)"},
    };
    for (const auto& c : cases) {
        MachineUnderTest machine(test::kRegHeader, chip(c.vendor, c.signature, c.extended, c.brand));
        ASSERT_TRUE(machine);
        CpuInfo cpu;
        cpu.setCpuInfo();
        EXPECT_EQ(cpuLine(cpu), c.line) << c.signature << " " << c.brand;
        EXPECT_EQ(CpuInfoPeer(cpu).cpuidReg(0), 0x0000000Du) << "leaf 0 stays the last result kept";
    }
}

}  // namespace
}  // namespace kel
