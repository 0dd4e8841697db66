// The non-registry parts of a recorded machine: processor and clocks,
// multimedia devices, drives, printers and the shell's Startup folders.

#include "RecordedTestSupport.h"

#include "recorded/SimulatedCpu.h"

#include <cstring>
#include <limits>

namespace kel {
namespace {

using test::errorOf;

bool sameRegs(const CpuidRegs& a, const CpuidRegs& b)
{
    return a.eax == b.eax && a.ebx == b.ebx && a.ecx == b.ecx && a.edx == b.edx;
}

std::string describe(const CpuidRegs& r)
{
    char text[64];
    std::snprintf(text, sizeof text, "%08x %08x %08x %08x", r.eax, r.ebx, r.ecx, r.edx);
    return text;
}

TEST(SimulatedCpu, LeafSequencesRepeatTheirLastResultAndRestartAfterAnotherLeaf)
{
    MachineUnderTest machine("",
                             "[cpu]\nleaf.0 = 2 756e6547 6c65746e 49656e69\n"
                             "leaf.2 = 0x00000002 0 0 0 ; 0x03020101 0 0 0x0c040843\n"
                             "leaf.80000005 = 1 2 3 4\n");
    ASSERT_TRUE(machine);
    const struct {
        uint32_t leaf;
        CpuidRegs expected;
    } calls[] = {
        {2, {2, 0, 0, 0}},
        {2, {0x03020101, 0, 0, 0x0c040843}},
        {2, {0x03020101, 0, 0, 0x0c040843}},
        {0, {2, 0x756e6547, 0x6c65746e, 0x49656e69}},
        {2, {2, 0, 0, 0}},
        {0x80000005, {1, 2, 3, 4}},
        {7, {0, 0, 0, 0}},
        {2, {2, 0, 0, 0}},
    };
    for (const auto& call : calls) {
        CpuidRegs got = machine->cpuid(call.leaf);
        EXPECT_TRUE(sameRegs(got, call.expected))
            << "leaf 0x" << std::hex << call.leaf << ": got " << describe(got) << ", expected "
            << describe(call.expected);
    }
}

TEST(SimulatedCpu, ExactClockGives239955CyclesPer1000Ticks)
{
    MachineUnderTest machine("", "[cpu]\nqpc_frequency = 10000000\ntsc_mhz = 2399.55\n");
    ASSERT_TRUE(machine);
    int64_t frequency = 0;
    ASSERT_TRUE(machine->queryPerformanceFrequency(&frequency));
    EXPECT_EQ(frequency, 10000000);
    int64_t counter = -1;
    ASSERT_TRUE(machine->queryPerformanceCounter(&counter));
    EXPECT_EQ(counter, 0);
    ASSERT_TRUE(machine->queryPerformanceCounter(&counter));
    EXPECT_EQ(counter, 1);
    uint32_t first = machine->readTimeStampCounter();
    EXPECT_EQ(first, 479u) << "floor(2 * 239.955)";
    EXPECT_EQ(machine->readTimeStampCounter(), first) << "reading the stamp does not move the clock";
    for (int i = 0; i < 1000; ++i)
        machine->queryPerformanceCounter(&counter);
    EXPECT_EQ(counter, 1001);
    EXPECT_EQ(machine->readTimeStampCounter() - first, 239955u);
    ASSERT_TRUE(machine->queryPerformanceFrequency(&frequency));
    ASSERT_TRUE(machine->queryPerformanceCounter(&counter));
    EXPECT_EQ(counter, 0) << "the frequency query restarts the counter";
}

TEST(SimulatedCpu, TimeStampCounterKeepsItsLow32Bits)
{
    MachineUnderTest machine("", "[cpu]\nqpc_frequency = 1\ntsc_mhz = 3000\n");
    ASSERT_TRUE(machine);
    int64_t counter = 0;
    machine->queryPerformanceCounter(&counter);
    machine->queryPerformanceCounter(&counter);
    EXPECT_EQ(machine->readTimeStampCounter(), static_cast<uint32_t>(2ull * 3000000000ull));
}

TEST(SimulatedCpu, MulDivFloorIsExactBeyond64Bits)
{
    const struct {
        uint64_t a, b, d, expected;
    } cases[] = {
        {1000, 2399550000ull, 10000000, 239955},
        {3, 7, 2, 10},
        {std::numeric_limits<uint64_t>::max(), std::numeric_limits<uint64_t>::max(),
         std::numeric_limits<uint64_t>::max(), std::numeric_limits<uint64_t>::max()},
        {1ull << 40, 1ull << 40, 1ull << 30, 1ull << 50},
        {0, 12345, 7, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SimulatedCpu::mulDivFloor(c.a, c.b, c.d), c.expected)
            << c.a << " * " << c.b << " / " << c.d;
}

TEST(SimulatedCpu, WithoutCounterOrInstructions)
{
    MachineUnderTest machine("", "[cpu]\ncpuid = no\ntsc = no\ntsc_mhz = 500\n");
    ASSERT_TRUE(machine);
    EXPECT_FALSE(machine->hasCpuid());
    EXPECT_FALSE(machine->hasTimeStampCounter());
    int64_t counter = 5;
    EXPECT_FALSE(machine->queryPerformanceCounter(&counter));
    EXPECT_EQ(counter, 0);
    EXPECT_EQ(machine->readTimeStampCounter(), 0u);
}

TEST(SimulatedCpu, PriorityClassStartsNormalAndCountsSets)
{
    MachineUnderTest machine("", "");
    ASSERT_TRUE(machine);
    EXPECT_EQ(machine->getPriorityClass(), kNormalPriorityClass);
    EXPECT_TRUE(machine->setPriorityClass(kHighPriorityClass));
    EXPECT_EQ(machine->currentPriorityClass(), kHighPriorityClass);
    EXPECT_FALSE(machine->setPriorityClass(0x12345)) << "not a priority class";
    EXPECT_TRUE(machine->setPriorityClass(kNormalPriorityClass));
    EXPECT_EQ(machine->getPriorityClass(), kNormalPriorityClass);
    EXPECT_EQ(machine->prioritySetCount(), 2u);
}

TEST(SimulatedMedia, DevicesNamesVersionsAndFailures)
{
    std::string name32(32, 'N');
    MachineUnderTest machine("",
                             "[media]\nwave_out.0 = 0x050A SB Live! Wave Device\nwave_out.1 = fail\n"
                             "wave_out.2 = 0105 " +
                                 name32 + "\nmixer.0 = 0\n");
    ASSERT_TRUE(machine);
    EXPECT_EQ(machine->mediaDeviceCount(MediaFamily::WaveOut), 3u);
    EXPECT_EQ(machine->mediaDeviceCount(MediaFamily::Mixer), 1u);
    EXPECT_EQ(machine->mediaDeviceCount(MediaFamily::MidiIn), 0u);
    MediaCaps caps;
    ASSERT_EQ(machine->mediaDeviceCaps(MediaFamily::WaveOut, 0, &caps), 0u);
    EXPECT_EQ(caps.driverVersion, 0x050Au);
    EXPECT_STREQ(caps.productName, "SB Live! Wave Device");
    EXPECT_NE(machine->mediaDeviceCaps(MediaFamily::WaveOut, 1, &caps), 0u);
    std::memset(caps.productName, 'x', sizeof caps.productName);
    ASSERT_EQ(machine->mediaDeviceCaps(MediaFamily::WaveOut, 2, &caps), 0u);
    EXPECT_EQ(std::string(caps.productName, 32), name32) << "32 characters fill the member, no NUL";
    EXPECT_EQ(caps.driverVersion, 0x0105u);
    ASSERT_EQ(machine->mediaDeviceCaps(MediaFamily::Mixer, 0, &caps), 0u);
    EXPECT_EQ(caps.productName[0], '\0');
    EXPECT_NE(machine->mediaDeviceCaps(MediaFamily::WaveOut, 3, &caps), 0u);
}

TEST(SimulatedDrives, ListTypesSpaceAndVolumes)
{
    MachineUnderTest machine("",
                             "[drives]\ndrive.D = 5\ndrive.A = 2\ndrive.C = 3\n"
                             "drive.C.total_bytes = 40000000000\ndrive.C.free_bytes = 12000000000\n"
                             "drive.C.caller_free_bytes = 11000000000\ndrive.C.sectors_per_cluster = 8\n"
                             "drive.C.bytes_per_sector = 512\ndrive.C.free_clusters = 100\n"
                             "drive.C.total_clusters = 200\ndrive.C.label = SYSTEM\n"
                             "drive.C.file_system = NTFS\ndrive.C.serial = 0A1B2C3D\n"
                             "drive.D.space = fail\ndrive.D.volume = fail\n");
    ASSERT_TRUE(machine);
    char buffer[kMaxPath];
    std::memset(buffer, 'x', sizeof buffer);
    EXPECT_EQ(machine->getLogicalDriveStrings(12, buffer), 13u) << "too small: the size needed";
    EXPECT_EQ(buffer[0], 'x');
    ASSERT_EQ(machine->getLogicalDriveStrings(sizeof buffer, buffer), 12u);
    EXPECT_EQ(std::string(buffer, 13), std::string("A:\\\0C:\\\0D:\\\0\0", 13)) << "letter order";
    EXPECT_EQ(machine->getDriveType("C:\\"), uint32_t(kDriveFixed));
    EXPECT_EQ(machine->getDriveType("d:\\"), uint32_t(kDriveCdrom));
    EXPECT_EQ(machine->getDriveType("Q:\\"), uint32_t(kDriveNoRootDir));

    DiskSpaceEx spaceEx;
    ASSERT_TRUE(machine->getDiskFreeSpaceEx("C:\\", &spaceEx));
    EXPECT_EQ(spaceEx.totalBytes, 40000000000ull);
    EXPECT_EQ(spaceEx.totalFreeBytes, 12000000000ull);
    EXPECT_EQ(spaceEx.callerFreeBytes, 11000000000ull);
    DiskSpace space;
    ASSERT_TRUE(machine->getDiskFreeSpace("C:\\", &space));
    EXPECT_EQ(space.sectorsPerCluster, 8u);
    EXPECT_EQ(space.bytesPerSector, 512u);
    EXPECT_EQ(space.freeClusters, 100u);
    EXPECT_EQ(space.totalClusters, 200u);
    EXPECT_FALSE(machine->getDiskFreeSpaceEx("D:\\", &spaceEx));
    EXPECT_FALSE(machine->getDiskFreeSpace("D:\\", &space));
    ASSERT_TRUE(machine->getDiskFreeSpace("A:\\", &space));
    EXPECT_EQ(space.totalClusters, 0u) << "figures not given are 0";

    char label[kMaxPath];
    char fileSystem[kMaxPath];
    uint32_t serial = 0;
    ASSERT_TRUE(
        machine->getVolumeInformation("C:\\", label, sizeof label, &serial, fileSystem, sizeof fileSystem));
    EXPECT_STREQ(label, "SYSTEM");
    EXPECT_STREQ(fileSystem, "NTFS");
    EXPECT_EQ(serial, 0x0A1B2C3Du);
    EXPECT_FALSE(machine->getVolumeInformation("C:\\", label, 6, &serial, fileSystem, sizeof fileSystem))
        << "SYSTEM and its NUL need 7 bytes";
    EXPECT_FALSE(
        machine->getVolumeInformation("D:\\", label, sizeof label, &serial, fileSystem, sizeof fileSystem));
}

TEST(SimulatedDrives, NoDrives)
{
    MachineUnderTest machine("", "");
    ASSERT_TRUE(machine);
    char buffer[4] = {'x', 'x', 'x', 'x'};
    EXPECT_EQ(machine->getLogicalDriveStrings(sizeof buffer, buffer), 0u);
    EXPECT_EQ(buffer[0], '\0');
}

// The printer records of a filled buffer, checked to point inside it.
std::vector<std::string> printerNames(const std::vector<uint8_t>& buffer, uint32_t returned)
{
    std::vector<std::string> names;
    const uint8_t* begin = buffer.data();
    const uint8_t* end = begin + buffer.size();
    for (uint32_t i = 0; i < returned; ++i) {
        PrinterInfo1 record;
        std::memcpy(&record, begin + i * sizeof record, sizeof record);
        const uint8_t* name = reinterpret_cast<const uint8_t*>(record.name);
        const uint8_t* description = reinterpret_cast<const uint8_t*>(record.description);
        const uint8_t* comment = reinterpret_cast<const uint8_t*>(record.comment);
        for (const uint8_t* p : {name, description, comment}) {
            EXPECT_TRUE(p >= begin + returned * sizeof record && p < end) << "pointer outside the buffer";
            if (p < begin || p >= end)
                return names;
        }
        names.push_back(record.name);
    }
    return names;
}

TEST(SimulatedPrinters, SizeQueryThenRecordsInOneBuffer)
{
    MachineUnderTest machine("", "[printers]\nprinter.0 = HP LaserJet 4\nprinter.1 = \\\\server\\queue\n");
    ASSERT_TRUE(machine);
    uint32_t needed = 0;
    uint32_t returned = 99;
    EXPECT_FALSE(machine->enumPrinters(6, 1, nullptr, 0, &needed, &returned));
    // Description and name with their NULs, and an empty comment, per printer.
    uint32_t expectedSize = 2 * sizeof(PrinterInfo1) + (2 * 14 + 1) + (2 * 15 + 1);
    EXPECT_EQ(needed, expectedSize);
    EXPECT_EQ(returned, 0u);
    std::vector<uint8_t> buffer(needed, 0);
    EXPECT_FALSE(machine->enumPrinters(6, 1, buffer.data(), needed - 1, &needed, &returned));
    ASSERT_TRUE(machine->enumPrinters(6, 1, buffer.data(), needed, &needed, &returned));
    ASSERT_EQ(returned, 2u);
    EXPECT_EQ(printerNames(buffer, returned),
              (std::vector<std::string>{"HP LaserJet 4", "\\\\server\\queue"}));

    ASSERT_TRUE(machine->enumPrinters(kPrinterEnumConnections, 1, buffer.data(), needed, &needed, &returned));
    EXPECT_EQ(printerNames(buffer, returned), std::vector<std::string>{"\\\\server\\queue"});
    EXPECT_FALSE(machine->enumPrinters(6, 2, buffer.data(), needed, &needed, &returned)) << "level 2";
}

TEST(SimulatedPrinters, NoPrintersAndAFailingSpooler)
{
    MachineUnderTest none("", "");
    ASSERT_TRUE(none);
    uint32_t needed = 99;
    uint32_t returned = 99;
    EXPECT_TRUE(none->enumPrinters(6, 1, nullptr, 0, &needed, &returned));
    EXPECT_EQ(needed, 0u);
    EXPECT_EQ(returned, 0u);

    MachineUnderTest failing("", "[printers]\nprinter.0 = P\nenumerate = fail\n");
    ASSERT_TRUE(failing);
    EXPECT_FALSE(failing->enumPrinters(6, 1, nullptr, 0, &needed, &returned));
    EXPECT_GT(needed, 0u) << "the size query still answers";
    std::vector<uint8_t> buffer(needed, 0);
    EXPECT_FALSE(failing->enumPrinters(6, 1, buffer.data(), needed, &needed, &returned));
    EXPECT_EQ(returned, 0u);
}

// Every file name the search finds for pattern.
std::vector<std::string> search(RecordedMachine& machine, const std::string& pattern)
{
    std::vector<std::string> found;
    char name[kMaxPath];
    FindHandle handle = machine.findFirstFile(pattern.c_str(), name);
    if (handle == 0)
        return found;
    do
        found.push_back(name);
    while (machine.findNextFile(handle, name));
    machine.findClose(handle);
    return found;
}

TEST(SimulatedShell, StartupFoldersAndTheFileSearch)
{
    MachineUnderTest machine(
        "",
        "[version]\nplatform = 2\n[shell]\nstartup_user = Agent.lnk ; readme.txt;TRAY.LNK\n"
        "startup_common =\n");
    ASSERT_TRUE(machine);
    char user[kMaxPath];
    char common[kMaxPath];
    ASSERT_TRUE(machine->getSpecialFolderPath(kFolderStartup, user));
    ASSERT_TRUE(machine->getSpecialFolderPath(kFolderCommonStartup, common));
    EXPECT_STREQ(user, "C:\\Documents and Settings\\User\\Start Menu\\Programs\\Startup");
    EXPECT_EQ(search(*machine, std::string(user) + "\\*.lnk"),
              (std::vector<std::string>{"Agent.lnk", "TRAY.LNK"}));
    EXPECT_EQ(search(*machine, std::string(user) + "\\*"),
              (std::vector<std::string>{"Agent.lnk", "readme.txt", "TRAY.LNK"}));
    EXPECT_EQ(search(*machine, std::string(user) + "\\?????.txt"), std::vector<std::string>{});
    EXPECT_EQ(search(*machine, std::string(user) + "\\??????.txt"), std::vector<std::string>{"readme.txt"});
    EXPECT_EQ(search(*machine, std::string(common) + "\\*.lnk"), std::vector<std::string>{})
        << "empty folder";
    EXPECT_EQ(search(*machine, "C:\\Elsewhere\\*.lnk"), std::vector<std::string>{});
    EXPECT_FALSE(machine->getSpecialFolderPath(5, user));
    EXPECT_EQ(machine->openSearchCount(), 0u);
}

TEST(SimulatedShell, AbsentKeyMeansTheShellCannotNameTheFolder)
{
    MachineUnderTest machine("", "[version]\nplatform = 1\n[shell]\nstartup_user = a.lnk\n");
    ASSERT_TRUE(machine);
    char path[kMaxPath];
    ASSERT_TRUE(machine->getSpecialFolderPath(kFolderStartup, path));
    EXPECT_STREQ(path, "C:\\WINDOWS\\Start Menu\\Programs\\StartUp");
    EXPECT_FALSE(machine->getSpecialFolderPath(kFolderCommonStartup, path));
}

TEST(SimulatedDevices, RejectsBadInputWithOneMessage)
{
    const struct {
        std::string ini;
        const char* message;
    } cases[] = {
        {"[cpu]\nleaf.xyz = 1 2 3 4\n",
         "machine.ini, line 2: bad leaf number in leaf.xyz (hexadecimal, as in "
         "leaf.80000005)"},
        {"[cpu]\nleaf.2 = 1 2 3\n",
         "machine.ini, line 2: leaf.2 needs four hexadecimal words EAX EBX ECX EDX per "
         "result, results separated by ;"},
        {"[cpu]\nleaf.2 = 1 2 3 4;\n",
         "machine.ini, line 2: leaf.2 needs four hexadecimal words EAX EBX ECX EDX per "
         "result, results separated by ;"},
        {"[cpu]\nleaf.2 = 1 2 3 4\nleaf.02 = 1 2 3 4\n",
         "machine.ini, line 3: leaf.02 gives a leaf that is already "
         "given"},
        {"[cpu]\ntsc_mhz = 2399.555\n",
         "machine.ini, line 2: bad tsc_mhz \"2399.555\" (MHz with at most two "
         "decimals)"},
        {"[cpu]\ntsc_mhz = 2399.\n",
         "machine.ini, line 2: bad tsc_mhz \"2399.\" (MHz with at most two decimals)"},
        {"[cpu]\nqpc_frequency = -1\n",
         "machine.ini, line 2: bad number \"-1\" for qpc_frequency (0 to 2^63-1)"},
        {"[cpu]\nspeed = 1\n", "machine.ini, line 2: unknown key speed in [cpu]"},
        {"[media]\nwave_out.0 = x\nwave_out.2 = 0 b\n",
         "machine.ini, line 3: wave_out.2 given without wave_out.1 "
         "(numbers run from 0 without gaps)"},
        {"[media]\nwave_in.1 = 0 a\n",
         "machine.ini, line 2: wave_in.1 given without wave_in.0 (numbers run from 0 "
         "without gaps)"},
        {"[media]\nwave_out.0 = 0x1 " + std::string(33, 'n') + "\n",
         "machine.ini, line 2: wave_out.0 is longer than "
         "32 bytes"},
        {"[media]\nwave_out.0 = v1 name\n",
         "machine.ini, line 2: wave_out.0 needs VERSION NAME (VERSION in "
         "hexadecimal, as 0x050A) or fail"},
        {"[media]\nwave_out.01 = 0 a\n",
         "machine.ini, line 2: bad number in wave_out.01 (wave_out.N counts from 0)"},
        {"[media]\nspeaker.0 = 0 a\n", "machine.ini, line 2: unknown key speaker.0 in [media]"},
        {"[drives]\ndrive.c = 3\n", "machine.ini, line 2: unknown key drive.c in [drives]"},
        {"[drives]\ndrive.C.label = X\n", "machine.ini, line 2: drive.C.label given without drive.C = TYPE"},
        {"[drives]\ndrive.C = 3\ndrive.C.size = 1\n",
         "machine.ini, line 3: unknown key drive.C.size in [drives]"},
        {"[drives]\ndrive.C = 3\ndrive.C.serial = xyz\n",
         "machine.ini, line 3: bad hexadecimal number \"xyz\" for "
         "drive.C.serial"},
        {"[drives]\ndrive.C = 3\ndrive.C.space = no\n",
         "machine.ini, line 3: drive.C.space must be ok or fail, not "
         "\"no\""},
        {"[printers]\nprinter.1 = P\n",
         "machine.ini, line 2: printer.1 given without printer.0 (numbers run from 0 "
         "without gaps)"},
        {"[printers]\nenumerate = maybe\n",
         "machine.ini, line 2: enumerate must be ok or fail, not \"maybe\""},
        {"[printers]\nprinters = P\n", "machine.ini, line 2: unknown key printers in [printers]"},
        {"[shell]\nstartup_user = " + std::string(260, 'f') + "\n",
         "machine.ini, line 2: startup_user is longer "
         "than 259 bytes"},
        {"[shell]\nstartup = a.lnk\n", "machine.ini, line 2: unknown key startup in [shell]"},
    };
    for (const auto& bad : cases)
        EXPECT_EQ(errorOf("", bad.ini), bad.message) << "input: " << bad.ini;
}

}  // namespace
}  // namespace kel
