// Devices whose keys Windows keeps after they were removed: the display,
// sound and network collectors leave out an instance the configuration
// manager says does not exist; the device tree keeps every record.
#include "collectors/DeviceInfo.h"
#include "collectors/DevicePresence.h"
#include "report/Report.h"
#include "tests/devices/FixtureMachine.h"

#include "MachineUnderTest.h"

#include <string>
#include <vector>

namespace kel::test {
namespace {

const char kGeForce[] = "PCI\\VEN_10DE&DEV_1F08&SUBSYS_13AD1043&REV_A1\\4&2a6e1c3f&0&0019";
const char kRadeon[] = "PCI\\VEN_1002&DEV_67DF&SUBSYS_E3531DA2&REV_E7\\4&1a2b3c&0&0008";
const char kOnboardNic[] = "PCI\\VEN_8086&DEV_15B8&SUBSYS_86721043&REV_00\\3&11583659&0&FE";
const char kDockNic[] = "USB\\VID_17EF&PID_A387\\301000001";
const char kSoundCard[] = "PCI\\VEN_1102&DEV_0012&SUBSYS_00431102&REV_00\\4&3b1d7ed5&0&00E4";

// An instance of a class, located on a PCI slot (on the 95 family its
// hardware identifier names PCI).
std::string instance(const std::string& id, const char* className, const char* name)
{
    return "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Enum\\" + id + "]\n\"Class\"=\"" + className +
           "\"\n\"DeviceDesc\"=\"" + name +
           "\"\n\"LocationInformation\"=\"PCI bus 1, device 0, function 0\"\n\n" +
           "[HKEY_LOCAL_MACHINE\\Enum\\" + id + "]\n\"Class\"=\"" + className + "\"\n\"DeviceDesc\"=\"" +
           name + "\"\n\"HardwareID\"=\"PCI\\\\VEN_1\"\n\n";
}

const std::string kDevices = instance(kGeForce, "Display", "NVIDIA GeForce RTX 2060") +
                             instance(kRadeon, "Display", "Radeon RX 580") +
                             instance(kOnboardNic, "Net", "Intel(R) Ethernet Connection I219-V") +
                             instance(kDockNic, "Net", "ThinkPad USB-C Dock Ethernet") +
                             instance(kSoundCard, "MEDIA", "Creative SB Audigy");

std::string versionOf(int platformId)
{
    return platformId == 2 ? "[version]\nplatform = 2\nmajor = 5\nminor = 1\nbuild = 2600\n"
                           : "[version]\nplatform = 1\nmajor = 4\nminor = 10\nbuild = 67766446\n";
}

struct AbsentCase {
    const char* what;
    int platformId;
    std::string devices;
    const char* lines;
};

const AbsentCase kAbsentCases[] = {
    {"every device attached", 2, "",
     "Vga 0: Radeon RX 580, 0\nVga 1: NVIDIA GeForce RTX 2060, 0\nSound: Creative SB Audigy\n"
     "Nic 0: Intel(R) Ethernet Connection I219-V\nNic 1: ThinkPad USB-C Dock Ethernet\n"},
    {"a swapped graphics card and a docking station's adapter", 2,
     std::string("[devices]\nabsent.0 = ") + kRadeon + "\nabsent.1 = " + kDockNic + "\n",
     "Vga 0: NVIDIA GeForce RTX 2060, 0\nSound: Creative SB Audigy\n"
     "Nic 0: Intel(R) Ethernet Connection I219-V\n"},
    {"a removed sound card, identifiers compared without regard to case", 2,
     "[devices]\nabsent.0 = pci\\ven_1102&dev_0012&subsys_00431102&rev_00\\4&3B1D7ED5&0&00e4\n",
     "Vga 0: Radeon RX 580, 0\nVga 1: NVIDIA GeForce RTX 2060, 0\nSound: \n"
     "Nic 0: Intel(R) Ethernet Connection I219-V\nNic 1: ThinkPad USB-C Dock Ethernet\n"},
    {"the 95 family asks nobody", 1,
     std::string("[devices]\nabsent.0 = ") + kRadeon + "\nabsent.1 = " + kDockNic +
         "\nabsent.2 = " + kSoundCard + "\n",
     "Vga 0: Radeon RX 580, 0\nVga 1: NVIDIA GeForce RTX 2060, 0\nSound: Creative SB Audigy\n"
     "Nic 0: Intel(R) Ethernet Connection I219-V\nNic 1: ThinkPad USB-C Dock Ethernet\n"},
};

TEST(AbsentDevices, AreLeftOutOfTheirLinesOnTheNtFamily)
{
    for (const AbsentCase& c : kAbsentCases) {
        MachineUnderTest machine(regFile(kDevices), versionOf(c.platformId) + c.devices);
        ASSERT_TRUE(machine) << c.what;
        EXPECT_EQ(deviceLinesOf(reportOf(*machine, ReportKind::Brief)), c.lines) << c.what;
    }
}

std::vector<std::string> namesIn(const DeviceClassList& list)
{
    std::vector<std::string> names;
    list.forEach([&](const DeviceClass& device) { names.push_back(shownName(device)); });
    return names;
}

TEST(AbsentDevices, StayInTheExportedDeviceTree)
{
    MachineUnderTest machine(regFile(kDevices), versionOf(2) + "[devices]\nabsent.0 = " + kRadeon +
                                                    "\nabsent.1 = " + kDockNic + "\n");
    ASSERT_TRUE(machine);
    DeviceInfo tree;
    tree.setSystemDeviceInfo(true);
    const DeviceClassList* lists = tree.getSystemDeviceInfo();
    EXPECT_EQ(namesIn(lists[kDisplayClassList]),
              (std::vector<std::string>{"Radeon RX 580", "NVIDIA GeForce RTX 2060"}));
    EXPECT_EQ(namesIn(lists[kNetClassList]), (std::vector<std::string>{"Intel(R) Ethernet Connection I219-V",
                                                                       "ThinkPad USB-C Dock Ethernet"}));
}

TEST(AbsentDevices, InstanceIdentifierIsTheKeyPathBelowTheEnumerationRoot)
{
    DeviceClass device;
    device.keyPath = std::string("SYSTEM\\CurrentControlSet\\Enum\\") + kGeForce;
    EXPECT_EQ(instanceIdOf(device), kGeForce);
    device.keyPath = "SYSTEM\\CurrentControlSet\\Enumerator\\X";
    EXPECT_EQ(instanceIdOf(device), device.keyPath) << "another root is no prefix";
}

// A configuration manager that answers one code for every instance.
class AnsweringManager : public RecordedMachine {
public:
    using RecordedMachine::RecordedMachine;
    uint32_t locateDevNode(const char* instanceId) override
    {
        asked.push_back(instanceId);
        return answer;
    }
    uint32_t answer = kCrSuccess;
    std::vector<std::string> asked;
};

TEST(AbsentDevices, OnlyNoSuchDevnodeLeavesADeviceOut)
{
    const struct {
        uint32_t answer;
        bool listed;
    } cases[] = {
        {kCrNoSuchDevnode, false}, {kCrCallNotImplemented, true}, {0x13, true}, {0x0E, true},
        {kCrSuccess, true},
    };
    for (const auto& c : cases) {
        MachineUnderTest<AnsweringManager> machine(regFile(instance(kGeForce, "Display", "GeForce")),
                                                   versionOf(2));
        ASSERT_TRUE(machine);
        machine->answer = c.answer;
        const std::string lines = deviceLinesOf(reportOf(*machine, ReportKind::Brief));
        EXPECT_EQ(lines.find("Vga 0: GeForce") != std::string::npos, c.listed)
            << "answer 0x" << std::hex << c.answer << ":\n"
            << lines;
        EXPECT_EQ(machine->asked, std::vector<std::string>{kGeForce});
    }
}

}  // namespace
}  // namespace kel::test
