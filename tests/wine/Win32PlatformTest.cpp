// The Win32 backend under Wine: every group of operations answers with the
// real platform's figures, through the seam.
#include "platform/Platform.h"
#include "platform/RegKey.h"

#include <gtest/gtest.h>

#include <objbase.h>
#include <windows.h>

#include <algorithm>
#include <cctype>
#include <string>
#include <thread>
#include <vector>

using namespace kel;

namespace {

std::string lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

TEST(Win32Memory, GlobalMemoryStatusGivesTheMachinesFigures)
{
    MemoryStatus status;
    platform().globalMemoryStatus(&status);
    EXPECT_LE(status.memoryLoad, 100u);
    EXPECT_GT(status.totalPhys, 0u);
    EXPECT_GT(status.availPhys, 0u);
    EXPECT_LE(status.availPhys, status.totalPhys);
    EXPECT_GT(status.totalPageFile, 0u);
    EXPECT_GT(status.totalVirtual, 0u);
    EXPECT_LE(status.availVirtual, status.totalVirtual);
    if (sizeof(void*) == 8) {
        // A 64-bit process sees more than 4 GB of address space: the figures
        // are passed on as the platform gives them.
        EXPECT_GT(status.totalVirtual, 0xFFFFFFFFull);
    } else {
        // A 32-bit process that is not large-address-aware gets every figure
        // clamped to 2 GB, its address space below 2 GB: why the memory line
        // takes the extended query.
        EXPECT_LE(status.totalPhys, 0x7FFFFFFFull);
        EXPECT_LE(status.availPhys, 0x7FFFFFFFull);
        EXPECT_LT(status.totalVirtual, 0x80000000ull);
    }
}

TEST(Win32System, SystemInfoGivesPageSizeAndProcessors)
{
    SystemInfo info;
    platform().getSystemInfo(&info);
    EXPECT_EQ(info.pageSize, 4096u);
    EXPECT_EQ(info.allocationGranularity, 65536u);
    EXPECT_GE(info.numberOfProcessors, 1u);
}

TEST(Win32System, ConvertsAnsiTextToUtf16)
{
    std::u16string out = u"stale";
    ASSERT_TRUE(platform().ansiToUtf16("Kel 1", 5, &out));
    EXPECT_TRUE(out == u"Kel 1");
    ASSERT_TRUE(platform().ansiToUtf16("", 0, &out));
    EXPECT_TRUE(out.empty());
    if (platform().ansiCodePage() == 1252) {
        ASSERT_TRUE(platform().ansiToUtf16("caf\xe9", 4, &out));
        EXPECT_TRUE(out == u"caf\u00e9");
    }
}

TEST(Win32Registry, TheModulesOwnViewIsThatOfItsBitness)
{
    // Wine runs 32-bit programs as 64-bit Windows does, in WoW64.
    EXPECT_TRUE(platform().isWindows64());
    EXPECT_EQ(platform().ownRegistryView(), sizeof(void*) == 8 ? kKeyWow64_64Key : kKeyWow64_32Key);
}

TEST(Win32Registry, SameKeyComparesTheKeysThemselves)
{
    struct Case {
        const char* pathA;
        uint32_t viewA;
        const char* pathB;
        uint32_t viewB;
        bool same;
    };
    const Case cases[] = {
        {"SOFTWARE\\Microsoft", kKeyWow64_64Key, "software\\MICROSOFT", kKeyWow64_64Key, true},
        {"SOFTWARE", kKeyWow64_64Key, "SOFTWARE\\Microsoft", kKeyWow64_64Key, false},
        // The 32-bit view of SOFTWARE is a key of its own...
        {"SOFTWARE\\Microsoft", kKeyWow64_64Key, "SOFTWARE\\Microsoft", kKeyWow64_32Key, false},
        // ...while SYSTEM is shared by both views.
        {"SYSTEM\\CurrentControlSet\\Control", kKeyWow64_64Key, "SYSTEM\\CurrentControlSet\\Control",
         kKeyWow64_32Key, true},
    };
    for (const Case& c : cases) {
        RegKey a, b;
        ASSERT_EQ(a.open(RegRoot::LocalMachine, c.pathA, kKeyRead | c.viewA), kRegSuccess) << c.pathA;
        ASSERT_EQ(b.open(RegRoot::LocalMachine, c.pathB, kKeyRead | c.viewB), kRegSuccess) << c.pathB;
        EXPECT_EQ(platform().regSameKey(a.handle(), b.handle()), c.same)
            << c.pathA << " view " << c.viewA << " against " << c.pathB << " view " << c.viewB;
    }
}

TEST(Win32Processor, CpuidAndTimeStampCounter)
{
    ASSERT_TRUE(platform().hasCpuid());
    CpuidRegs vendor = platform().cpuid(0);
    EXPECT_GE(vendor.eax, 1u) << "highest standard leaf";
    EXPECT_NE(vendor.ebx, 0u) << "vendor text";
    ASSERT_TRUE(platform().hasTimeStampCounter());
    uint32_t first = platform().readTimeStampCounter();
    uint32_t second = platform().readTimeStampCounter();
    EXPECT_NE(first, second) << "the counter runs";
}

TEST(Win32Processor, PerformanceCounterRuns)
{
    int64_t frequency = 0, first = 0, second = 0;
    ASSERT_TRUE(platform().queryPerformanceFrequency(&frequency));
    EXPECT_GT(frequency, 0);
    ASSERT_TRUE(platform().queryPerformanceCounter(&first));
    ASSERT_TRUE(platform().queryPerformanceCounter(&second));
    EXPECT_GE(second, first);
}

TEST(Win32Processor, PriorityClassRoundTrip)
{
    uint32_t original = platform().getPriorityClass();
    EXPECT_EQ(original, kNormalPriorityClass);
    ASSERT_TRUE(platform().setPriorityClass(kHighPriorityClass));
    EXPECT_EQ(platform().getPriorityClass(), kHighPriorityClass);
    ASSERT_TRUE(platform().setPriorityClass(original));
    EXPECT_EQ(platform().getPriorityClass(), original);
}

TEST(Win32Screen, ScreenCapsOfTheDisplay)
{
    ScreenCaps caps = platform().getScreenCaps();
    EXPECT_GT(caps.horzRes, 0);
    EXPECT_GT(caps.vertRes, 0);
    EXPECT_GT(caps.bitsPixel, 0);
    EXPECT_GT(caps.logPixelsY, 0);
    EXPECT_EQ(caps.technology, 1) << "a raster display";
    EXPECT_GT(caps.aspectXY, 0);
}

TEST(Win32Media, CapsOfEveryCountedDevice)
{
    for (MediaFamily family : {MediaFamily::WaveOut, MediaFamily::WaveIn, MediaFamily::MidiOut,
                               MediaFamily::MidiIn, MediaFamily::Aux, MediaFamily::Mixer}) {
        uint32_t count = platform().mediaDeviceCount(family);
        for (uint32_t device = 0; device < count; ++device) {
            MediaCaps caps;
            EXPECT_EQ(platform().mediaDeviceCaps(family, device, &caps), 0u)
                << "family " << static_cast<int>(family) << " device " << device;
        }
        MediaCaps caps;
        EXPECT_NE(platform().mediaDeviceCaps(family, count + 100, &caps), 0u)
            << "family " << static_cast<int>(family) << ": a device past the count";
    }
}

// Wine has a Core Audio device enumerator but, with no audio driver in the
// prefix, no endpoint: GetDefaultAudioEndpoint answers E_NOTFOUND.
TEST(Win32Audio, NoDefaultEndpointWithoutAnAudioDevice)
{
    std::string name = "untouched";
    EXPECT_FALSE(platform().defaultAudioEndpointName(&name));
    EXPECT_EQ(name, "untouched");
}

// What CoInitializeEx answers on a thread after the service ran there: S_OK
// means the thread had no COM left.
HRESULT comStateAfterTheService(bool ownApartment)
{
    HRESULT after = E_UNEXPECTED;
    std::thread worker([&] {
        if (ownApartment && FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)))
            return;
        std::string name;
        platform().defaultAudioEndpointName(&name);
        if (ownApartment)
            CoUninitialize();
        after = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        if (SUCCEEDED(after))
            CoUninitialize();
    });
    worker.join();
    return after;
}

TEST(Win32Audio, LeavesTheThreadsComAsItWas)
{
    EXPECT_EQ(comStateAfterTheService(false), S_OK) << "a thread without COM has none afterwards";
    EXPECT_EQ(comStateAfterTheService(true), S_OK)
        << "a thread's own apartment is released by its one CoUninitialize";
}

// Wine's configuration manager answers CR_FAILURE (0x13) for every instance,
// attached or not, so no device is ever left out as absent.
TEST(Win32Devices, WinesConfigurationManagerLocatesNothing)
{
    for (const char* id : {"PCI\\VEN_0000&DEV_0000&SUBSYS_00000000&REV_00\\00000000", "ROOT\\WINE\\WINEBUS",
                           "PCI\\VEN_10DE&DEV_1C03\\4&2a6e1c3f&0&0019", "HTREE\\ROOT\\0"})
        EXPECT_EQ(platform().locateDevNode(id), 0x13u) << id;
}

TEST(Win32Drives, DriveCIsAFixedDriveWithSpace)
{
    char drives[256] = {};
    uint32_t length = platform().getLogicalDriveStrings(sizeof drives, drives);
    ASSERT_GT(length, 0u);
    ASSERT_LT(length, sizeof drives);
    std::vector<std::string> roots;
    for (const char* root = drives; *root; root += std::string(root).size() + 1)
        roots.push_back(lower(root));
    EXPECT_NE(std::find(roots.begin(), roots.end(), "c:\\"), roots.end()) << ::testing::PrintToString(roots);

    EXPECT_EQ(platform().getDriveType("C:\\"), kDriveFixed);
    ASSERT_TRUE(platform().hasDiskFreeSpaceEx());
    DiskSpaceEx spaceEx;
    ASSERT_TRUE(platform().getDiskFreeSpaceEx("C:\\", &spaceEx));
    EXPECT_GT(spaceEx.totalBytes, 0u);
    EXPECT_LE(spaceEx.totalFreeBytes, spaceEx.totalBytes);
    DiskSpace space;
    ASSERT_TRUE(platform().getDiskFreeSpace("C:\\", &space));
    EXPECT_GT(space.bytesPerSector, 0u);
    EXPECT_GT(space.totalClusters, 0u);

    char volume[kMaxPath] = {}, fileSystem[kMaxPath] = {};
    uint32_t serial = 0;
    ASSERT_TRUE(platform().getVolumeInformation("C:\\", volume, sizeof volume, &serial, fileSystem,
                                                sizeof fileSystem));
    EXPECT_NE(std::string(fileSystem), "");
}

TEST(Win32Printers, EnumerationSizesItsBuffer)
{
    uint32_t needed = 0, returned = 0;
    bool first = platform().enumPrinters(kPrinterEnumLocal | kPrinterEnumConnections, 1, nullptr, 0, &needed,
                                         &returned);
    if (first) {
        EXPECT_EQ(returned, 0u) << "no buffer, yet printers returned";
        return;
    }
    ASSERT_GT(needed, 0u) << "a failed enumeration must say what it needs";
    std::vector<uint8_t> buffer(needed);
    ASSERT_TRUE(platform().enumPrinters(kPrinterEnumLocal | kPrinterEnumConnections, 1, buffer.data(), needed,
                                        &needed, &returned));
    ASSERT_GT(returned, 0u);
    const PrinterInfo1* printers = reinterpret_cast<const PrinterInfo1*>(buffer.data());
    for (uint32_t i = 0; i < returned; ++i)
        EXPECT_NE(printers[i].name, nullptr) << "printer " << i;
}

TEST(Win32Shell, StartupFolders)
{
    for (int folder : {kFolderStartup, kFolderCommonStartup}) {
        char path[kMaxPath] = {};
        ASSERT_TRUE(platform().getSpecialFolderPath(folder, path)) << "folder " << folder;
        EXPECT_NE(lower(path).find("startup"), std::string::npos) << path;
    }
}

TEST(Win32Shell, FindsTheFilesOfADirectory)
{
    char name[kMaxPath];
    FindHandle search = platform().findFirstFile(KEL_SOURCE_DIR "/tests/wine/*.cpp", name);
    ASSERT_NE(search, 0u);
    std::vector<std::string> names{name};
    while (platform().findNextFile(search, name))
        names.push_back(name);
    platform().findClose(search);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(::testing::PrintToString(names),
              ::testing::PrintToString(std::vector<std::string>{
                  "PolicyViewsTest.cpp", "VersionImpersonationTest.cpp", "Win32PlatformTest.cpp"}));
    EXPECT_EQ(platform().findFirstFile(KEL_SOURCE_DIR "/tests/wine/*.absent", name), 0u);
}

}  // namespace
