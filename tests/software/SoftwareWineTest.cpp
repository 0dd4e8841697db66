// Drives, printers, installed programs, DirectX and start-up entries read
// from Wine's real registry, drives, spooler and Startup folders. The
// registry comes from software.reg; the drives and the Startup files are made
// here, the way a user would make them, before any test runs.
#include "collectors/DirectXInfo.h"
#include "collectors/DiskInfo.h"
#include "platform/Platform.h"
#include "report/Report.h"
#include "tests/unit/CollectorPeers.h"
#include "tests/wine/FolderNames.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <winioctl.h>
#include <winspool.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <string>
#include <vector>

namespace kel {
namespace {

using Lines = std::vector<std::string>;

// Wine's own request to its mount manager for a drive letter, as its drive
// configuration tool makes it (Wine 8 layout).
struct UnixDriveRequest {
    ULONG size;
    ULONG type;
    ULONG fsType;
    DWORD serial;
    ULONGLONG unixDev;
    WCHAR letter;
    USHORT mountPointOffset;
    USHORT deviceOffset;
    USHORT labelOffset;
};
constexpr DWORD kDefineUnixDrive = CTL_CODE('m', 32, METHOD_BUFFERED, FILE_READ_ACCESS | FILE_WRITE_ACCESS);

bool defineDrive(char letter, UINT type, const char* unixPath)
{
    std::vector<char> request(sizeof(UnixDriveRequest) + std::strlen(unixPath) + 1, 0);
    UnixDriveRequest head{};
    head.size = static_cast<ULONG>(request.size());
    head.type = type;
    head.letter = static_cast<WCHAR>(letter);
    head.mountPointOffset = sizeof head;
    std::memcpy(request.data(), &head, sizeof head);
    std::strcpy(request.data() + sizeof head, unixPath);
    HANDLE manager = CreateFileW(L"\\\\.\\MountPointManager", GENERIC_READ | GENERIC_WRITE,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (manager == INVALID_HANDLE_VALUE)
        return false;
    DWORD returned = 0;
    const BOOL ok = DeviceIoControl(manager, kDefineUnixDrive, request.data(),
                                    static_cast<DWORD>(request.size()), nullptr, 0, &returned, nullptr);
    CloseHandle(manager);
    return ok != FALSE;
}

std::string folderPath(int folder)
{
    char path[kMaxPath] = {};
    return platform().getSpecialFolderPath(folder, path) ? path : "";
}

bool makeFile(const std::string& folder, const char* name)
{
    const std::string path = folder + "\\" + name;
    HANDLE file =
        CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(file);
    return true;
}

bool setText(HKEY root, const char* path, REGSAM view, const char* name, const char* data)
{
    HKEY key = nullptr;
    if (RegCreateKeyExA(root, path, 0, nullptr, 0, KEY_SET_VALUE | view, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return false;
    const LONG result = RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(data),
                                       static_cast<DWORD>(std::strlen(data) + 1));
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}

class SoftwareMachine : public testing::Environment {
public:
    void SetUp() override
    {
        // Wine starts and removes the machine's RunOnce commands when it
        // boots, so they are written here rather than imported.
        const char* runOnce = "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
        ASSERT_TRUE(setText(HKEY_LOCAL_MACHINE, runOnce, KEY_WOW64_64KEY, "Setup", "setup.exe /continue"));
        ASSERT_TRUE(setText(HKEY_LOCAL_MACHINE, runOnce, KEY_WOW64_32KEY, "Setup32", "setup32.exe"));
        ASSERT_TRUE(defineDrive('a', DRIVE_REMOVABLE, "/tmp")) << GetLastError();
        ASSERT_TRUE(defineDrive('d', DRIVE_CDROM, "/tmp")) << GetLastError();
        ASSERT_TRUE(defineDrive('n', DRIVE_REMOTE, "/tmp")) << GetLastError();
        const std::string user = folderPath(kFolderStartup);
        const std::string common = folderPath(kFolderCommonStartup);
        ASSERT_FALSE(user.empty());
        ASSERT_FALSE(common.empty());
        for (const char* name : {"Agent.lnk", "Notes.lnk", "readme.txt"})
            ASSERT_TRUE(makeFile(user, name)) << user << "\\" << name;
        for (const char* name : {"Office.lnk", "Sync.lnk", "desktop.ini"})
            ASSERT_TRUE(makeFile(common, name)) << common << "\\" << name;
    }
};

const auto* const kEnvironment = testing::AddGlobalTestEnvironment(new SoftwareMachine);

std::string detailedReport()
{
    std::u16string text;
    EXPECT_TRUE(runReport(ReportKind::Detail, &text));
    std::string narrow;
    for (char16_t c : text)
        narrow += c < 0x80 ? static_cast<char>(c) : '?';
    return narrow;
}

// The lines under a heading of the detailed report, up to the empty line
// before the next heading (entries may be empty lines themselves).
Lines section(const std::string& report, const std::string& heading)
{
    static const char* const kOrder[] = {"Disks", "Printers", "Softwares", "Startup"};
    const std::size_t begin = report.find("\n" + heading + "\n");
    if (begin == std::string::npos)
        return {"<no " + heading + " section>"};
    std::size_t end = report.size();
    for (std::size_t i = 0; i + 1 < std::size(kOrder); ++i)
        if (heading == kOrder[i])
            end = report.find("\n\n" + std::string(kOrder[i + 1]) + "\n", begin) + 1;
    Lines lines;
    for (std::size_t at = begin + heading.size() + 2; at < end;) {
        const std::size_t lineEnd = report.find('\n', at);
        lines.push_back(report.substr(at, lineEnd - at));
        at = lineEnd + 1;
    }
    return lines;
}

// The start of a fixed drive's text, up to its free figure.
std::string fixedDriveText(const char* root)
{
    ULARGE_INTEGER caller{}, total{}, free{};
    char label[MAX_PATH] = {}, fileSystem[MAX_PATH] = {};
    DWORD serial = 0;
    EXPECT_TRUE(GetDiskFreeSpaceExA(root, &caller, &total, &free));
    EXPECT_TRUE(
        GetVolumeInformationA(root, label, MAX_PATH, &serial, nullptr, nullptr, fileSystem, MAX_PATH));
    return std::string(root) + "(FIXED, " + fileSystem + ", " + std::to_string(total.QuadPart >> 20) + "MB/";
}

TEST(WineSoftware, DisksListWineDrivesWithTheirTypes)
{
    const Lines disks = section(detailedReport(), "Disks");
    ASSERT_EQ(5u, disks.size()) << testing::PrintToString(disks);
    EXPECT_EQ("A:\\(REMOVABLE)", disks[0]);
    // Free space moves while other programs write; the total and file
    // system do not.
    EXPECT_EQ(0u, disks[1].rfind(fixedDriveText("C:\\"), 0)) << disks[1];
    EXPECT_EQ("D:\\(CD-ROM)", disks[2]);
    EXPECT_EQ("N:\\(NETWORK DRIVE)", disks[3]);
    EXPECT_EQ(0u, disks[4].rfind(fixedDriveText("Z:\\"), 0)) << disks[4];
}

TEST(WineSoftware, FixedDriveKeepsTheVolumeSerial)
{
    DiskInfo info;
    info.setDiskInfo();
    ASSERT_EQ(5, info.getDiskListCount());
    DWORD serial = 0;
    ASSERT_TRUE(GetVolumeInformationA("C:\\", nullptr, 0, &serial, nullptr, nullptr, nullptr, 0));
    char hex[16];
    std::snprintf(hex, sizeof hex, "%lX", static_cast<unsigned long>(serial));
    EXPECT_EQ(hex, DiskInfoPeer::drive(info, 1).volumeSerial);
    EXPECT_EQ("0", DiskInfoPeer::drive(info, 2).sectorsPerCluster) << "CD-ROM";
}

TEST(WineSoftware, PrintersAreThoseTheSpoolerLists)
{
    DWORD needed = 0, count = 0;
    EnumPrintersA(PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS, nullptr, 1, nullptr, 0, &needed, &count);
    Lines names;
    std::vector<BYTE> buffer(needed + 1);
    if (needed > 0 && EnumPrintersA(PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS, nullptr, 1, buffer.data(),
                                    needed, &needed, &count)) {
        const auto* records = reinterpret_cast<const PRINTER_INFO_1A*>(buffer.data());
        for (DWORD i = 0; i < count; ++i)
            names.push_back("Printer " + std::to_string(i) + ": " + records[i].pName);
    }
    EXPECT_EQ((Lines{"Printer 0: Kel Inkjet", "Printer 1: Kel LaserJet 4"}), names) << "the spooler itself";
    EXPECT_EQ(names, section(detailedReport(), "Printers"));
}

// The entries of the machine's two registry views in the order the module
// reads them: its own view first. The fixture's two views differ, so the
// order shows which view a module of this bitness takes for its own (the
// 32-bit module's is WOW6432Node, where Windows redirects its reads of
// HKLM\SOFTWARE).
Lines ownViewFirst(const Lines& view64, const Lines& view32)
{
    Lines lines = sizeof(void*) == 8 ? view64 : view32;
    const Lines& other = sizeof(void*) == 8 ? view32 : view64;
    lines.insert(lines.end(), other.begin(), other.end());
    return lines;
}

Lines operator+(Lines first, const Lines& second)
{
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

TEST(WineSoftware, SoftwaresListOwnViewThenTheOther)
{
    EXPECT_EQ(ownViewFirst({"Kel Editor 2.1", std::string(259, 'L'), "", "Kel Twin"},
                           {"Kel Legacy (32-bit)", "Kel Twin"}),
              section(detailedReport(), "Softwares"));
}

TEST(WineSoftware, StartupListsRegistryThenUserThenCommonShortcuts)
{
    Lines expected =
        ownViewFirst({"C:\\Tools\\agent.exe /min@Agent", "1@Flags"}, {"C:\\Old\\legacy.exe@Legacy"}) +
        Lines{"default.exe@", "msmsgs.exe /background@Messenger"} +
        ownViewFirst({"setup.exe /continue@Setup"}, {"setup32.exe@Setup32"}) + Lines{"cleanup.exe@Cleanup"};
    // Within a folder the order is the file search's own.
    for (const std::string& name : folderNames(folderPath(kFolderStartup), "*.lnk"))
        expected.push_back(name);
    expected.push_back("Office.lnk");
    const Lines startup = section(detailedReport(), "Startup");
    EXPECT_EQ(expected, startup);
    Lines user(startup.end() - 3, startup.end() - 1);
    std::sort(user.begin(), user.end());
    EXPECT_EQ((Lines{"Agent.lnk", "Notes.lnk"}), user);
}

// Tray and Sync.lnk are there, as Task Manager leaves a program it disables,
// and their states say disabled; their twins' states say enabled.
TEST(WineSoftware, StartupLeavesOutWhatTheUserDisabled)
{
    const Lines common = folderNames(folderPath(kFolderCommonStartup), "*.lnk");
    ASSERT_NE(std::find(common.begin(), common.end(), "Sync.lnk"), common.end()) << "the shortcut exists";
    const Lines startup = section(detailedReport(), "Startup");
    const auto listed = [&](const std::string& entry) {
        return std::find(startup.begin(), startup.end(), entry) != startup.end();
    };
    EXPECT_FALSE(listed("tray.exe /quiet@Tray"));
    EXPECT_TRUE(listed("msmsgs.exe /background@Messenger"));
    EXPECT_FALSE(listed("Sync.lnk"));
    EXPECT_TRUE(listed("Office.lnk"));
}

TEST(WineSoftware, DirectXReadsVersionAndChainedComponentKeys)
{
    const std::string report = detailedReport();
    EXPECT_NE(std::string::npos, report.find("\nDirectX: 4.09.00.0904\n")) << report;
    DirectXInfo info;
    info.setDirectXInfo();
    EXPECT_EQ((Lines{"Kel Direct3D Ramp Emulation", "Kel Direct3D RGB Emulation"}),
              DirectXInfoPeer::list(info, 1));
    EXPECT_EQ((Lines{"Internet TCP/IP Connection For DirectPlay"}), DirectXInfoPeer::list(info, 2));
    EXPECT_EQ((Lines{"Microsoft Software Synthesizer"}), DirectXInfoPeer::list(info, 3));
}

}  // namespace
}  // namespace kel
