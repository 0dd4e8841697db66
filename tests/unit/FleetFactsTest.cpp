// The facts that tell one PC from another, on recorded machines: names,
// adapters tied to their device records, program details, and the system's
// name for the inventory formats.
#include "collectors/AdapterInfo.h"
#include "collectors/DeviceInfo.h"
#include "collectors/IdentityInfo.h"
#include "collectors/ProgramList.h"
#include "collectors/SoftwareInfo.h"
#include "inventory/FormatFields.h"
#include "inventory/Inventory.h"
#include "inventory/OsName.h"
#include "MachineUnderTest.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kel {
namespace {

const std::string kUninstall = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
const std::string kNetClass =
    "HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Class\\"
    "{4D36E972-E325-11CE-BFC1-08002BE10318}";
const std::string kEnum = "HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Enum\\";

IdentityInfo identityOf(const std::string& section)
{
    MachineUnderTest<> m(regFile(""), iniFile(section));
    IdentityInfo identity;
    identity.setIdentityInfo();
    return identity;
}

TEST(FleetFacts, Names)
{
    const std::string longName(40, 'N');
    const struct {
        const char* name;
        std::string section;
        std::string computer, user, join;
        JoinStatus status;
    } cases[] = {
        {"all told",
         "[identity]\ncomputer_name = PC-7\nuser_name = kim\ndomain = CORP\ndomain_kind = domain\n", "PC-7",
         "kim", "CORP", JoinStatus::Domain},
        {"none told", "", "", "", "", JoinStatus::Unknown},
        {"longer than the platform's limits",
         "[identity]\ncomputer_name = " + longName + "\nuser_name = " + std::string(250, 'u') + "\n",
         longName, std::string(250, 'u'), "", JoinStatus::Unknown},
        {"unconvertible characters", "[identity]\ncomputer_name = PC-\xC4\x80\xE4\xB8\xAD\n", "PC-??", "", "",
         JoinStatus::Unknown},
        {"workgroup", "[identity]\ndomain = WORKGROUP\ndomain_kind = workgroup\n", "", "", "WORKGROUP",
         JoinStatus::Workgroup},
    };
    for (const auto& c : cases) {
        IdentityInfo identity = identityOf(c.section);
        EXPECT_EQ(c.computer, identity.computerName()) << c.name;
        EXPECT_EQ(c.user, identity.userName()) << c.name;
        EXPECT_EQ(c.join, identity.joinName()) << c.name;
        EXPECT_EQ(c.status, identity.joinStatus()) << c.name;
    }
}

TEST(FleetFacts, RecordedFactsRefuseBadInputWithOneMessage)
{
    const struct {
        std::string section;
        const char* message;
    } cases[] = {
        {"[identity]\ndomain_kind = forest\n",
         "line 2: domain_kind must be workgroup, domain, unjoined or unknown, not \"forest\""},
        {"[identity]\ndevice_id = PC-2024-1-15-10-30-00\n",
         "line 2: bad device_id \"PC-2024-1-15-10-30-00\" (NAME-YYYY-MM-DD-HH-MM-SS)"},
        {"[identity]\ndevice_id = -2024-01-15-10-30-00\n", "line 2: bad device_id"},
        {"[adapters]\nadapter.1.name = x\n", "line 2: adapter.1 given without adapter.0"},
        {"[adapters]\nadapter.x.name = x\n", "line 2: bad key adapter.x.name (adapter.N.DETAIL"},
        {"[adapters]\nadapter.0.mtu = 1500\n", "line 2: unknown key adapter.0.mtu in [adapters]"},
        {"[adapters]\nadapter.0.address = 00-11-22-33-44-55-66-77-88\n",
         "line 2: adapter.0.address needs at most 8 hexadecimal bytes"},
        {"[adapters]\nadapter.0.address = 0-11\n", "line 2: adapter.0.address needs"},
        {"[adapters]\nadapter.0.ip = 192.168.100.200.1/255.255.255.0\n",
         "line 2: adapter.0.ip: an address or mask is longer than 15 bytes"},
        {"[adapters]\nadapter.0.description = " + std::string(132, 'd') + "\n",
         "line 2: adapter.0.description is longer than 131 bytes"},
        {"[firmware]\nsmbios.0 = 00 03 1\n", "line 2: smbios.0 needs hexadecimal bytes of two digits"},
        {"[firmware]\nsmbios.1 = 00\n", "line 2: smbios.1 given without smbios.0"},
        {"[firmware]\ntable = 00\n", "line 2: unknown key table in [firmware]"},
        {"[version]\nproduct_type = 256\n", "line 2: bad number \"256\" for product_type (0 to 255)"},
    };
    for (const auto& c : cases) {
        std::string error;
        EXPECT_FALSE(RecordedMachine::parse(regFile(""), c.section, &error)) << c.section;
        EXPECT_NE(std::string::npos, error.find(c.message)) << "got: " << error;
    }
}

TEST(FleetFacts, ComputerNameQueryFollowsTheBufferRule)
{
    MachineUnderTest<> m(regFile(""), iniFile("[identity]\ncomputer_name = OFFICE-PC07\n"));
    char name[12] = "untouched";
    uint32_t size = 11;
    EXPECT_FALSE(m->getComputerName(name, &size));
    EXPECT_EQ(12u, size) << "the size needed, NUL included";
    EXPECT_STREQ("untouched", name);
    size = 12;
    EXPECT_TRUE(m->getComputerName(name, &size));
    EXPECT_EQ(11u, size) << "the length without the NUL";
    EXPECT_STREQ("OFFICE-PC07", name);
}

std::vector<NetworkAdapter> adaptersOf(const std::string& registry, const std::string& section)
{
    MachineUnderTest<> m(regFile(registry), iniFile(section));
    DeviceInfo devices;
    devices.setSystemDeviceInfo(true);
    AdapterInfo adapters;
    adapters.setAdapterInfo(true, devices.getSystemDeviceInfo());
    return adapters.adapters();
}

const std::string kNetDevices =
    "[" + kEnum +
    "PCI\\VEN_10B7&DEV_9200\\4&2d1ae4b8&0&40F0]\n"
    "\"Class\"=\"Net\"\n\"DeviceDesc\"=\"3Com 3C920\"\n\"Mfg\"=\"3Com\"\n"
    "\"Driver\"=\"{4D36E972-E325-11CE-BFC1-08002BE10318}\\\\0000\"\n"
    "\"LocationInformation\"=\"PCI bus 2\"\n\n"
    "[" +
    kEnum +
    "ROOT\\MS_PPPOEMINIPORT\\0000]\n"
    "\"Class\"=\"Net\"\n\"DeviceDesc\"=\"WAN Miniport (PPPOE)\"\n"
    "\"Driver\"=\"{4D36E972-E325-11CE-BFC1-08002BE10318}\\\\0001\"\n\n"
    "[" +
    kNetClass +
    "\\0000]\n\"NetCfgInstanceId\"=\"{3F2E1D0C-9B8A-4765-8443-2A1B0C9D8E7F}\"\n\n"
    "[" +
    kNetClass + "\\0001]\n\"NetCfgInstanceId\"=\"{8D4C2B1A-0F9E-4D8C-B7A6-5E4D3C2B1A09}\"\n\n";

TEST(FleetFacts, AdaptersTiedToTheirDeviceRecords)
{
    const std::string adapters =
        "[adapters]\n"
        "adapter.0.name = {3f2e1d0c-9b8a-4765-8443-2a1b0c9d8e7f}\n"
        "adapter.0.description = 3Com 3C920 - Packet Scheduler Miniport\n"
        "adapter.0.address = 00-04-76-A1-2B-3C\n"
        "adapter.0.type = 6\n"
        "adapter.0.ip = 192.168.10.57/255.255.255.0; 10.0.0.2/255.0.0.0\n"
        "adapter.0.gateway = 192.168.10.1\n"
        "adapter.1.name = {8D4C2B1A-0F9E-4D8C-B7A6-5E4D3C2B1A09}\n"
        "adapter.2.name = {00000000-0000-0000-0000-000000000000}\n"
        "adapter.2.address = \n";
    std::vector<NetworkAdapter> list = adaptersOf(kNetDevices, adapters);
    ASSERT_EQ(3u, list.size());
    EXPECT_EQ("PCI\\VEN_10B7&DEV_9200\\4&2d1ae4b8&0&40F0", list[0].deviceInstance)
        << "tied without regard to case";
    EXPECT_EQ("3Com", list[0].manufacturer);
    EXPECT_EQ("00:04:76:a1:2b:3c", hardwareAddress(list[0].record));
    ASSERT_EQ(2u, list[0].record.addresses.size());
    EXPECT_EQ("10.0.0.2", list[0].record.addresses[1].address);
    EXPECT_EQ("255.0.0.0", list[0].record.addresses[1].mask);
    EXPECT_EQ("ROOT\\MS_PPPOEMINIPORT\\0000", list[1].deviceInstance);
    EXPECT_EQ("", list[2].deviceInstance) << "no record has its name";
    EXPECT_EQ("", hardwareAddress(list[2].record));
}

TEST(FleetFacts, AdapterListsEmptyFailedOrLong)
{
    EXPECT_TRUE(adaptersOf(kNetDevices, "").empty()) << "no IP helper";
    EXPECT_TRUE(adaptersOf(kNetDevices, "[adapters]\n").empty()) << "no adapter";
    EXPECT_TRUE(adaptersOf(kNetDevices, "[adapters]\nadapter.0.name = x\nenumerate = fail\n").empty());
    std::string many = "[adapters]\n";
    std::string addresses;
    for (int i = 0; i < 200; ++i)
        addresses += "10.0." + std::to_string(i / 250) + "." + std::to_string(i % 250) + "/255.255.0.0;";
    for (int i = 0; i < 64; ++i)
        many += "adapter." + std::to_string(i) + ".description = " + std::string(131, 'd') + "\nadapter." +
                std::to_string(i) + ".ip = " + addresses + "\n";
    std::vector<NetworkAdapter> list = adaptersOf(kNetDevices, many);
    ASSERT_EQ(64u, list.size());
    EXPECT_EQ(200u, list[63].record.addresses.size());
}

TEST(FleetFacts, ProgramDetailsViewsUserEntriesAndHiddenOnes)
{
    const std::string reg =
        "[HKEY_LOCAL_MACHINE\\" + kUninstall +
        "\\Git_is1]\n\"DisplayName\"=\"Git\"\n"
        "\"DisplayVersion\"=\"2.43.0\"\n\"Publisher\"=\"The Git Development Community\"\n"
        "\"InstallDate\"=\"20231121\"\n\n"
        "[HKEY_LOCAL_MACHINE\\" +
        kUninstall +
        "\\Tools]\n\"DisplayName\"=\"Health Tools\"\n"
        "\"SystemComponent\"=dword:00000001\n\n"
        "[HKEY_LOCAL_MACHINE\\" +
        kUninstall +
        "\\NotHidden]\n\"DisplayName\"=\"Not hidden\"\n"
        "\"SystemComponent\"=\"1\"\n\n"
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Steam]\n"
        "\"DisplayName\"=\"Steam\"\n\n"
        "[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\OneDriveSetup.exe]\n"
        "\"DisplayName\"=\"Microsoft OneDrive\"\n\"Publisher\"=\"Microsoft Corporation\"\n";
    MachineUnderTest<> m(regFile(reg), iniFile("", "windows64 = yes\n"));
    ProgramList list;
    list.setProgramList();
    const struct {
        const char* name;
        const char* version;
        const char* installDate;
        unsigned bits;
        bool perUser, hidden;
    } expected[] = {
        {"Steam", "", "", 32, false, false},
        {"Git", "2.43.0", "20231121", 64, false, false},
        {"Not hidden", "", "", 64, false, false},
        {"Health Tools", "", "", 64, false, true},
        {"Microsoft OneDrive", "", "", 0, true, false},
    };
    ASSERT_EQ(std::size(expected), list.programs().size());
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        const Program& p = list.programs()[i];
        EXPECT_EQ(expected[i].name, p.name) << i;
        EXPECT_EQ(expected[i].version, p.version) << i;
        EXPECT_EQ(expected[i].installDate, p.installDate) << i;
        EXPECT_EQ(expected[i].bits, p.bits) << i;
        EXPECT_EQ(expected[i].perUser, p.perUser) << i;
        EXPECT_EQ(expected[i].hidden, p.hidden) << i;
    }
    // The machine's entries are the report's programs, in its order.
    SoftwareInfo software;
    software.setSoftwareInfo();
    ASSERT_EQ(4, software.getSoftwareListCount());
    for (int i = 0; i < 4; ++i) {
        char name[1024] = {};
        software.getSoftwareDescription(i, name, sizeof name);
        EXPECT_EQ(name, list.programs()[static_cast<std::size_t>(i)].name) << i;
    }
}

TEST(FleetFacts, SystemNamesFromTheTrueVersionAndProductType)
{
    const struct {
        uint32_t major, minor, build;
        uint8_t productType;
        const char* name;
    } cases[] = {
        {6, 0, 6002, 1, "Windows Vista"},
        {6, 0, 6003, 3, "Windows Server 2008"},
        {6, 1, 7601, 1, "Windows 7"},
        {6, 1, 7601, 2, "Windows Server 2008 R2"},
        {6, 2, 9200, 1, "Windows 8"},
        {6, 2, 9200, 3, "Windows Server 2012"},
        {6, 3, 9600, 1, "Windows 8.1"},
        {6, 3, 9600, 3, "Windows Server 2012 R2"},
        {10, 0, 19045, 1, "Windows 10"},
        {10, 0, 21999, 1, "Windows 10"},
        {10, 0, 22000, 1, "Windows 11"},
        {10, 0, 22631, 1, "Windows 11"},
        {10, 0, 14393, 3, "Windows Server 2016"},
        {10, 0, 17763, 2, "Windows Server 2019"},
        {10, 0, 20348, 3, "Windows Server 2022"},
        {10, 0, 26100, 3, "Windows Server 2025"},
        {10, 0, 25398, 3, "Windows Server"},
        {10, 0, 22631, 0, "Windows 11"},
        {5, 1, 2600, 1, ""},
        {6, 4, 9841, 1, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.name, modernWindowsName(c.major, c.minor, c.build, c.productType))
            << c.major << "." << c.minor << "." << c.build << " type " << int(c.productType);
    const struct {
        const char* line;
        const char* name;
    } lines[] = {
        {"Windows XP Version 5.1 Service Pack 1 (Build 2600)", "Windows XP"},
        {"Windows 2000 Version 5.0  (Build 2195)", "Windows 2000"},
        {"Windows 98SE", "Windows 98SE"},
        {"Microsoft Win32s ", "Win32s"},
        {" Version 5.2  (Build 3790)", ""},
        {"", ""},
    };
    for (const auto& l : lines)
        EXPECT_EQ(l.name, reportOsName(l.line)) << l.line;
}

TEST(FleetFacts, ReportLinesAndFieldsParsed)
{
    Inventory inv;
    parseCpuLine("AMD Ryzen 7 1800X 3600Mhz (16CPUs)", &inv);
    EXPECT_EQ("AMD Ryzen 7 1800X", inv.cpuName);
    EXPECT_EQ(3600u, inv.cpuMhz);
    EXPECT_EQ(16u, inv.cpuCount);
    Inventory odd;
    parseCpuLine("Unknown (CPUs)", &odd);
    EXPECT_EQ("Unknown (CPUs)", odd.cpuName);
    EXPECT_EQ(0u, odd.cpuMhz);
    parseMemoryLine("511MB", &inv);
    EXPECT_EQ(511u, inv.memoryMb);
    InventoryDrive drive;
    ASSERT_TRUE(parseDriveLine("C:\\(FIXED, NTFS, 20002MB/7168MB)", &drive));
    EXPECT_EQ("C:", drive.letter);
    EXPECT_EQ("FIXED", drive.type);
    EXPECT_EQ("NTFS", drive.fileSystem);
    EXPECT_TRUE(drive.hasSpace);
    EXPECT_EQ(20002u, drive.totalMb);
    EXPECT_EQ(7168u, drive.freeMb);
    InventoryDrive removable;
    ASSERT_TRUE(parseDriveLine("A:\\(REMOVABLE)", &removable));
    EXPECT_FALSE(removable.hasSpace);
    EXPECT_FALSE(parseDriveLine("garbage", &removable));

    EXPECT_EQ("2023-11-21", isoDate("20231121"));
    EXPECT_EQ("", isoDate("2023-11-21"));
    EXPECT_EQ("", isoDate("20231321"));
    EXPECT_EQ("2022-04-28", firmwareIsoDate("04/28/2022"));
    EXPECT_EQ("", firmwareIsoDate("04/28/22"));
    EXPECT_EQ("192.168.0.0", ipSubnet("192.168.0.23", "255.255.255.0"));
    EXPECT_EQ("", ipSubnet("192.168.0.023", "255.255.255.0"));
    EXPECT_EQ("", ipSubnet("fe80::1", "255.255.255.0"));
}

}  // namespace
}  // namespace kel
