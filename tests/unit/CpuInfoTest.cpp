// The processor collector against a scripted processor and clocks.
#include "collectors/CpuInfo.h"

#include "tests/unit/CpuInfoPeer.h"
#include "tests/unit/ScriptedCpu.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace kel {
namespace {

constexpr uint32_t kBelowNormalPriorityClass = 0x4000;

// Leaf 2 of a Pentium III Katmai: one run; 512 KB L2 (0x43), 16 KB code
// (0x08), 16 KB data (0x0C) and TLB descriptors that tell no cache size.
const CpuidRegs kKatmaiLeaf2{0x03020101, 0, 0, 0x0C040843};

class CpuInfoTest : public ::testing::Test {
protected:
    ScriptedCpu machine;
    ScopedPlatform scoped{machine};
    CpuInfo cpu;

    void scriptKatmai()
    {
        machine.leaves[0] = {vendorLeaf("GenuineIntel", 3)};
        machine.leaves[1] = {signatureLeaf(6, 7, 0, 0, 2)};
        machine.leaves[2] = {kKatmaiLeaf2};
    }

    unsigned samplesTaken() const { return machine.stampReads / 2; }
};

TEST_F(CpuInfoTest, IdentifiesAPentiumIIIKatmai)
{
    scriptKatmai();
    machine.scriptFigures({497, 497, 497});
    cpu.setCpuInfo();

    const CpuInfoPeer f(cpu);
    EXPECT_EQ(cpuLine(cpu), "Intel Pentium III 500Mhz (1CPUs)");
    EXPECT_EQ(f.family(), 6u);
    EXPECT_EQ(f.model(), 7u);
    EXPECT_EQ(f.stepping(), 2u);
    EXPECT_EQ(f.type(), 0u);
    EXPECT_EQ(f.maxStandardLeaf(), 3u);
    EXPECT_EQ(f.vendorCode(), 1u);
    EXPECT_EQ(f.vendorId(), "GenuineIntel");
    EXPECT_EQ(f.vendorFullName(), "Intel Corporation");
    EXPECT_EQ(f.coreName(), "Katmai (0.25\xA5\xEC)");
    EXPECT_EQ(f.transistors(), 9500000u);
    EXPECT_EQ(f.l2CacheKb(), 512u);
    EXPECT_EQ(f.l1DataKb(), 16u);
    EXPECT_EQ(f.l1CodeKb(), 16u);
    EXPECT_EQ(f.l1UnifiedKb(), 0u);
    EXPECT_EQ(f.rawSpeed(), 497u);
    EXPECT_EQ(f.cpuSpeed(), 500u);
    EXPECT_EQ(f.tscCycles(), 3u * 49700);
    EXPECT_EQ(f.elapsedMicroseconds(), 300u);
    const CpuidRegs leaf0 = vendorLeaf("GenuineIntel", 3);
    EXPECT_EQ(f.cpuidReg(0), leaf0.eax) << "cpuidRegs must hold leaf 0 after setCpuInfo";
    EXPECT_EQ(f.cpuidReg(1), leaf0.ebx);
    EXPECT_EQ(f.cpuidReg(2), leaf0.ecx);
    EXPECT_EQ(f.cpuidReg(3), leaf0.edx);
}

TEST_F(CpuInfoTest, ThreeAgreeingSamplesEndTheMeasurement)
{
    machine.scriptFigures({1000, 1001, 1002, 5000, 5000});
    cpu.setCpuInfo();
    EXPECT_EQ(samplesTaken(), 3u);
    const CpuInfoPeer f(cpu);
    EXPECT_EQ(f.tscCycles(), 300300u);
    EXPECT_EQ(f.elapsedMicroseconds(), 300u);
    EXPECT_EQ(f.rawSpeed(), 1001u);
    EXPECT_EQ(f.cpuSpeed(), 1000u);
}

TEST_F(CpuInfoTest, ADeviationOfFourTakesAnotherSample)
{
    machine.scriptFigures({1000, 1000, 1002, 1001, 5000});
    cpu.setCpuInfo();
    EXPECT_EQ(samplesTaken(), 4u);
    EXPECT_EQ(CpuInfoPeer(cpu).tscCycles(), 400300u);
    EXPECT_EQ(CpuInfoPeer(cpu).elapsedMicroseconds(), 400u);
}

TEST_F(CpuInfoTest, TwentySamplesAtMostAndAllCount)
{
    std::vector<uint32_t> figures;
    for (int i = 0; i < 25; ++i)
        figures.push_back(i % 2 ? 1000 : 1100);
    machine.scriptFigures(figures);
    cpu.setCpuInfo();
    EXPECT_EQ(samplesTaken(), 20u);
    const CpuInfoPeer f(cpu);
    EXPECT_EQ(f.tscCycles(), 10u * 100000 + 10u * 110000);
    EXPECT_EQ(f.elapsedMicroseconds(), 2000u);
    EXPECT_EQ(f.rawSpeed(), 1050u);
    EXPECT_EQ(f.cpuSpeed(), 1050u);
}

TEST_F(CpuInfoTest, PriorityIsHighDuringEachSampleAndSetBackAfterIt)
{
    machine.priorityClass = kBelowNormalPriorityClass;
    machine.scriptFigures({1000, 1000, 1000});
    cpu.setCpuInfo();
    EXPECT_EQ(machine.priorityClass, kBelowNormalPriorityClass);
    EXPECT_EQ(machine.stampsAtOtherPriority, 0u) << "time-stamp reads outside the raised priority";
    const std::vector<uint32_t> expected = {kHighPriorityClass, kBelowNormalPriorityClass,
                                            kHighPriorityClass, kBelowNormalPriorityClass,
                                            kHighPriorityClass, kBelowNormalPriorityClass};
    EXPECT_EQ(machine.prioritySets, expected);
}

TEST_F(CpuInfoTest, ACounterThatStopsAnsweringEndsTheMeasurementAtItsOwnPriority)
{
    machine.priorityClass = kBelowNormalPriorityClass;
    machine.scriptFigures({1000, 1000, 1000});
    machine.counterReadsLeft = 5;  // the second sample loses its counter while raised
    cpu.setCpuInfo();
    EXPECT_EQ(machine.priorityClass, kBelowNormalPriorityClass);
    ASSERT_EQ(machine.prioritySets.size(), 4u);
    EXPECT_EQ(machine.prioritySets.back(), kBelowNormalPriorityClass);
    EXPECT_EQ(CpuInfoPeer(cpu).cpuSpeed(), 0u);
    EXPECT_EQ(cpuLine(cpu), "  0Mhz (1CPUs)");
}

TEST_F(CpuInfoTest, NoHighResolutionCounterLeavesTheClockAtZero)
{
    scriptKatmai();
    machine.frequency = 0;
    cpu.setCpuInfo();
    EXPECT_EQ(cpuLine(cpu), "Intel Pentium III 0Mhz (1CPUs)");
    EXPECT_EQ(machine.counterReads, 0u);
    EXPECT_TRUE(machine.prioritySets.empty());
}

TEST_F(CpuInfoTest, AFrequencyBelowTenHertzIsNoCounter)
{
    machine.frequency = 9;
    cpu.setCpuInfo();
    EXPECT_EQ(machine.counterReads, 0u);
    EXPECT_EQ(CpuInfoPeer(cpu).cpuSpeed(), 0u);
}

TEST_F(CpuInfoTest, NoTimeStampCounterGivesAClockOfZero)
{
    scriptKatmai();
    machine.tscPresent = false;
    cpu.setCpuInfo();
    EXPECT_EQ(cpuLine(cpu), "Intel Pentium III 0Mhz (1CPUs)");
    EXPECT_EQ(machine.stampReads, 0u);
}

TEST_F(CpuInfoTest, NoIdentificationInstructionIsAnUnknownVendorOfFamilyZero)
{
    scriptKatmai();
    machine.cpuidPresent = false;
    machine.processors = 2;
    machine.scriptFigures({1000, 1000, 1000});
    cpu.setCpuInfo();
    const CpuInfoPeer f(cpu);
    EXPECT_EQ(f.vendorCode(), 0u);
    EXPECT_EQ(f.family(), 0u);
    EXPECT_EQ(f.vendorId(), "");
    EXPECT_TRUE(machine.leafCalls.empty());
    EXPECT_EQ(cpuLine(cpu), "  1000Mhz (2CPUs)");
}

TEST_F(CpuInfoTest, UnknownVendorStartsTheLineWithTwoBlanks)
{
    machine.leaves[0] = {vendorLeaf("HygonGenuine", 13)};
    machine.leaves[1] = {signatureLeaf(15, 1)};
    machine.processors = 2;
    machine.scriptFigures({1000, 1000, 1000});
    cpu.setCpuInfo();
    EXPECT_EQ(cpuLine(cpu), "  1000Mhz (2CPUs)");
    EXPECT_EQ(CpuInfoPeer(cpu).vendorId(), "HygonGenuine");
    EXPECT_EQ(CpuInfoPeer(cpu).vendorFullName(), "");
}

TEST_F(CpuInfoTest, HighestLeafZeroLeavesTheVendorIdAlone)
{
    machine.leaves[0] = {vendorLeaf("GenuineIntel", 0)};
    cpu.setCpuInfo();
    EXPECT_EQ(CpuInfoPeer(cpu).vendorId(), "");
    EXPECT_EQ(CpuInfoPeer(cpu).vendorCode(), 0u);
}

TEST_F(CpuInfoTest, ANulInTheIdentificationStringEndsIt)
{
    machine.leaves[0] = {vendorLeaf("UMC UMC UMC")};  // twelfth byte NUL
    machine.leaves[1] = {signatureLeaf(4, 2)};
    cpu.setCpuInfo();
    EXPECT_EQ(CpuInfoPeer(cpu).vendorId(), "UMC UMC UMC");
    EXPECT_EQ(cpuLine(cpu), "UMC U5S 0Mhz (1CPUs)");
}

TEST_F(CpuInfoTest, UmcWithTheTrailingBlankItsProcessorsReport)
{
    machine.leaves[0] = {vendorLeaf("UMC UMC UMC ")};
    machine.leaves[1] = {signatureLeaf(4, 0)};
    cpu.setCpuInfo();
    const CpuInfoPeer f(cpu);
    EXPECT_EQ(f.vendorCode(), 6u);
    EXPECT_EQ(f.vendorFullName(), "United Microelectronics Corp");
    EXPECT_EQ(f.coreName(), "U5D and U5S");
    EXPECT_EQ(f.transistors(), 12000000u);
    EXPECT_EQ(cpuLine(cpu), "UMC  0Mhz (1CPUs)");
}

TEST_F(CpuInfoTest, CyrixModelFollowsTheMeasuredClock)
{
    machine.leaves[0] = {vendorLeaf("CyrixInstead", 1)};
    machine.leaves[1] = {signatureLeaf(5, 0)};
    machine.scriptFigures({233, 233, 233});
    cpu.setCpuInfo();
    EXPECT_EQ(cpuLine(cpu), "Cyrix M-II (PR300-433) 233Mhz (1CPUs)");
}

// A line of 32 characters: "Intel Pentium IV 2400Mhz (1CPUs)".
class CpuLineBufferTest : public CpuInfoTest {
protected:
    void SetUp() override
    {
        machine.leaves[0] = {vendorLeaf("GenuineIntel")};
        machine.leaves[1] = {signatureLeaf(15, 2)};
        machine.scriptFigures({2400, 2400, 2400});
        cpu.setCpuInfo();
    }

    // getCpuInfo into a buffer of `size` bytes, inside a larger block filled
    // with a sentinel.
    std::string written(int size)
    {
        std::memset(block, '#', sizeof block);
        cpu.getCpuInfo(block, size);
        return std::string(block, sizeof block);
    }

    char block[64];
};

TEST_F(CpuLineBufferTest, WholeLineWhenItFits)
{
    ASSERT_EQ(cpuLine(cpu), "Intel Pentium IV 2400Mhz (1CPUs)");
    const std::string got = written(33);
    EXPECT_EQ(got, std::string("Intel Pentium IV 2400Mhz (1CPUs)") + '\0' + std::string(31, '#'));
}

TEST_F(CpuLineBufferTest, ClockPartWhenOnlyItFits)
{
    for (int size : {20, 32, 17}) {
        const std::string got = written(size);
        EXPECT_EQ(got, std::string(" 2400Mhz (1CPUs)") + '\0' + std::string(47, '#')) << "size " << size;
    }
}

TEST_F(CpuLineBufferTest, UntouchedWhenNotEvenTheClockPartFits)
{
    for (int size : {16, 5, 1, 0, -1}) {
        const std::string got = written(size);
        EXPECT_EQ(got, std::string(64, '#')) << "size " << size;
    }
}

TEST_F(CpuInfoTest, AFullCounterOfLeaf2RunsItThatOftenAndKeepsTheLast)
{
    machine.leaves[0] = {vendorLeaf("GenuineIntel")};
    machine.leaves[1] = {signatureLeaf(6, 5)};
    machine.leaves[2] = {CpuidRegs{0x00000003, 0, 0, 0x45}, CpuidRegs{0, 0, 0, 0x44},
                         CpuidRegs{0x00430042, 0, 0, 0x80000000}};
    cpu.setCpuInfo();
    int leaf2Runs = 0;
    for (uint32_t leaf : machine.leafCalls)
        leaf2Runs += leaf == 2;
    EXPECT_EQ(leaf2Runs, 3);
    const CpuInfoPeer f(cpu);
    // Bytes 1 and 2 of the last EAX: 0x00, 0x43; byte 0 is the count.
    EXPECT_EQ(f.cacheDescriptor(0), 0u);
    EXPECT_EQ(f.cacheDescriptor(2), 0x43u);
    EXPECT_EQ(f.cacheDescriptor(15), 0x80u);
    EXPECT_EQ(f.l2CacheKb(), 512u);
    EXPECT_EQ(f.l1UnifiedKb(), 16u) << "0x80 in the last byte, bit 31 not examined";
    EXPECT_EQ(cpuLine(cpu), "Intel Pentium II 0Mhz (1CPUs)");
}

TEST_F(CpuInfoTest, LaterDescriptorsOverrideEarlierOnes)
{
    machine.leaves[0] = {vendorLeaf("GenuineIntel")};
    machine.leaves[1] = {signatureLeaf(6, 5)};
    machine.leaves[2] = {CpuidRegs{0x00004301, 0x0A, 0x0C, 0x41}};
    cpu.setCpuInfo();
    const CpuInfoPeer f(cpu);
    EXPECT_EQ(f.l2CacheKb(), 128u);
    EXPECT_EQ(f.l1DataKb(), 16u);
    EXPECT_EQ(cpuLine(cpu), "Intel Pentium II 0Mhz (1CPUs)");
}

TEST_F(CpuInfoTest, Leaf2CountOfZeroKeepsTheDescriptorsAndClearsL2)
{
    scriptKatmai();
    cpu.setCpuInfo();
    ASSERT_EQ(CpuInfoPeer(cpu).l2CacheKb(), 512u);
    machine.leaves[2] = {CpuidRegs{0x43434300, 0x43, 0x43, 0x43}};
    machine.leaves[1] = {signatureLeaf(6, 5)};
    cpu.setCpuInfo();
    const CpuInfoPeer f(cpu);
    EXPECT_EQ(f.l2CacheKb(), 0u);
    EXPECT_EQ(f.cacheDescriptor(1), 0x01u) << "descriptors of the earlier run stay";
    EXPECT_EQ(f.cacheDescriptor(12), 0x43u);
    EXPECT_EQ(f.l1CodeKb(), 16u) << "first-level sizes come again from the kept descriptors";
    EXPECT_EQ(cpuLine(cpu), "Intel Celeron 0Mhz (1CPUs)");
}

TEST_F(CpuInfoTest, AmdFirstLevelCaches)
{
    machine.leaves[0] = {vendorLeaf("AuthenticAMD", 1)};
    machine.leaves[1] = {signatureLeaf(5, 8, 0, 0, 12)};
    machine.leaves[0x80000005] = {CpuidRegs{0, 0x12345678, 0x20020220, 0x40020220}};
    cpu.setCpuInfo();
    const CpuInfoPeer f(cpu);
    EXPECT_EQ(f.amdCacheRegEbx(0), 0x1234u);
    EXPECT_EQ(f.amdCacheRegEbx(1), 0x5678u);
    EXPECT_EQ(f.amdCacheReg(0), 0x20020220u);
    EXPECT_EQ(f.amdCacheReg(1), 0x40020220u);
    EXPECT_EQ(f.amdL1DataKb(), 32u);
    EXPECT_EQ(f.amdL1CodeKb(), 64u);
    EXPECT_EQ(f.amdL1TotalKb(), 96u);
    EXPECT_EQ(f.l2CacheKb(), 0u);
    EXPECT_EQ(cpuLine(cpu), "AMD K6-II 0Mhz (1CPUs)");
}

TEST_F(CpuInfoTest, CyrixUnifiedCacheFromAnyByteOfEcx)
{
    machine.leaves[0] = {vendorLeaf("CyrixInstead", 1)};
    machine.leaves[1] = {signatureLeaf(5, 2)};
    machine.leaves[0x80000005] = {CpuidRegs{0, 0x11223344, 0x00008000, 0}};
    cpu.setCpuInfo();
    EXPECT_EQ(CpuInfoPeer(cpu).cyrixL1UnifiedKb(), 16u);
    EXPECT_EQ(CpuInfoPeer(cpu).cyrixCacheReg(0), 0x00008000u);
    EXPECT_EQ(CpuInfoPeer(cpu).cyrixCacheReg(1), 0x11223344u);

    CpuInfo other;
    machine.leaves[0x80000005] = {CpuidRegs{0, 0, 0x01020304, 0x80808080}};
    other.setCpuInfo();
    EXPECT_EQ(CpuInfoPeer(other).cyrixL1UnifiedKb(), 0u);
}

TEST_F(CpuInfoTest, ASecondRunSeesTheSameProcessor)
{
    scriptKatmai();
    machine.tscHundredthsMhz = 49773;
    cpu.setCpuInfo();
    const std::string first = CpuInfoPeer(cpu).dump();
    cpu.setCpuInfo();
    EXPECT_EQ(CpuInfoPeer(cpu).dump(), first);
    EXPECT_EQ(cpuLine(cpu), "Intel Pentium III 500Mhz (1CPUs)");
}

TEST_F(CpuInfoTest, ASecondRunRenamesTheVendorButKeepsModelFieldsWithoutARow)
{
    scriptKatmai();
    cpu.setCpuInfo();
    machine.leaves[0] = {vendorLeaf("AuthenticAMD", 1)};
    machine.leaves[1] = {signatureLeaf(15, 1)};
    cpu.setCpuInfo();
    const CpuInfoPeer f(cpu);
    EXPECT_EQ(f.vendorFullName(), "Advanced Micro Devices");
    EXPECT_EQ(f.coreName(), "Katmai (0.25\xA5\xEC)");
    EXPECT_EQ(cpuLine(cpu), "AMD Pentium III 0Mhz (1CPUs)");
}

TEST_F(CpuInfoTest, CopiesCarryEveryField)
{
    scriptKatmai();
    machine.leaves[0x80000005] = {CpuidRegs{1, 2, 3, 4}};
    machine.processors = 4;
    machine.scriptFigures({497, 497, 497});
    cpu.setCpuInfo();
    const std::string original = CpuInfoPeer(cpu).dump();

    CpuInfo copied(cpu);
    EXPECT_EQ(CpuInfoPeer(copied).dump(), original);
    CpuInfo assigned;
    CpuInfo& result = (assigned = cpu);
    EXPECT_EQ(&result, &assigned);
    EXPECT_EQ(CpuInfoPeer(assigned).dump(), original);
    CpuInfo& self = cpu;
    cpu = self;
    EXPECT_EQ(CpuInfoPeer(cpu).dump(), original);
    EXPECT_EQ(cpuLine(copied), "Intel Pentium III 500Mhz (4CPUs)");
}

TEST_F(CpuInfoTest, AFreshObjectPrintsAnEmptyLine)
{
    EXPECT_EQ(cpuLine(cpu), "  0Mhz (0CPUs)");
    EXPECT_EQ(CpuInfoPeer(cpu).dump(), CpuInfoPeer(CpuInfo()).dump());
}

// The counter and the time-stamp counter move exactly together, so the
// tenths rule shows in the nominal clock: 2409.55 MHz truncates to 2409,
// which snaps down to 2400; 2409.56 rounds to 2410, which snaps up to 2420.
TEST_F(CpuInfoTest, TheFirstDecimalDecidesTheNominalClock)
{
    const struct {
        uint64_t hundredthsMhz;
        uint32_t raw, nominal, cycles;
    } cases[] = {
        {239955, 2399, 2400, 3 * 239955}, {239956, 2399, 2400, 3 * 239956}, {240955, 2409, 2400, 3 * 240955},
        {240956, 2409, 2420, 3 * 240956}, {240960, 2409, 2420, 3 * 240960},
    };
    for (const auto& c : cases) {
        ScriptedCpu exact;
        ScopedPlatform use(exact);
        exact.tscHundredthsMhz = c.hundredthsMhz;
        CpuInfo measured;
        measured.setCpuInfo();
        const CpuInfoPeer f(measured);
        EXPECT_EQ(f.rawSpeed(), c.raw) << c.hundredthsMhz << " hundredths of a MHz";
        EXPECT_EQ(f.cpuSpeed(), c.nominal) << c.hundredthsMhz << " hundredths of a MHz";
        EXPECT_EQ(f.tscCycles(), c.cycles) << c.hundredthsMhz << " hundredths of a MHz";
        EXPECT_EQ(f.elapsedMicroseconds(), 300u) << c.hundredthsMhz << " hundredths of a MHz";
    }
}

}  // namespace
}  // namespace kel
