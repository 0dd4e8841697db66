// Indirect strings as the device walk stores them, and WDDM adapters'
// memory from their driver keys.
#include "collectors/DeviceInfo.h"
#include "collectors/DisplayInfo.h"
#include "collectors/IndirectString.h"

#include "tests/unit/MachineUnderTest.h"
#include "tests/unit/TestMachine.h"

#include <gtest/gtest.h>

namespace kel {
namespace {

TEST(IndirectString, TheTextAPersonSees)
{
    const struct {
        const char* stored;
        const char* shown;
    } cases[] = {
        {"@oem12.inf,%nvidia_dev.1f08%;NVIDIA GeForce RTX 2060", "NVIDIA GeForce RTX 2060"},
        {"@System32\\drivers\\usbxhci.sys,#1073807361;%1 USB %2 eXtensible Host Controller - %3 (Microsoft);"
         "(ASMedia,3.20,1.10)",
         "ASMedia USB 3.20 eXtensible Host Controller - 1.10 (Microsoft)"},
        {"NVIDIA GeForce RTX 2060", "NVIDIA GeForce RTX 2060"},            // not indirect
        {"@oem12.inf,%nvidia_dev.1f08%", "@oem12.inf,%nvidia_dev.1f08%"},  // no ";": as read
        {"Display; adapters", "Display; adapters"},                        // no "@" first
        {"@netrndis.inf,%rndis%;", ""},                                    // an empty fallback
        {"", ""},
        {"@x;a;b", "a;b"},  // after the first ";" only
        {"@x;%1 and %12 and %2 and %%1;(one,two)", "one and one2 and two and %one"},
        {"@x;%3%2%1;(%2,%1,c)", "c%2%2"},  // from the last down, in the partly replaced text
        {"@x;%1 %2;()", " %2"},            // one empty argument
        {"@x;%1;(a,b", "%1;(a,b"},         // no closing ")": no arguments
        {"@x;%1 (text);(a)", "a (text)"},
        {"@x;first;(a);(b)", "first"},  // the format ends at the first ";("
    };
    for (const auto& c : cases)
        EXPECT_EQ(resolvedIndirectString(c.stored), c.shown) << '"' << c.stored << '"';
}

const char kClass[] = "HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Class\\";
const char kDisplayGuid[] = "{4d36e968-e325-11ce-bfc1-08002be10318}";

// One PCI display adapter on the NT family whose service "svc" has the
// Device0 values given and whose driver key 0000 has the driver-key values.
std::string adapterRegistry(const std::string& device0, const std::string& driverKey)
{
    std::string reg =
        std::string(test::kRegHeader) + "[" + kClass + kDisplayGuid +
        "]\n\"Class\"=\"@display.inf,%class%;Display\"\n\n"
        "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Enum\\PCI\\VEN_10DE\\3&1]\n"
        "\"ClassGUID\"=\"" +
        kDisplayGuid +
        "\"\n"
        "\"DeviceDesc\"=\"@oem12.inf,%nvidia_dev.1f08%;NVIDIA GeForce RTX 2060\"\n"
        "\"LocationInformation\"=\"@System32\\\\drivers\\\\pci.sys,#65536;PCI bus %1, device %2, "
        "function %3;(1,0,0)\"\n"
        "\"Service\"=\"svc\"\n\"Driver\"=\"" +
        kDisplayGuid +
        "\\\\0000\"\n\n"
        "[" +
        kClass + kDisplayGuid + "\\0000]\n" + driverKey + "\n";
    if (!device0.empty())
        reg += "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\svc\\Device0]\n" + device0 + "\n";
    return reg;
}

TEST(DriverKeyMemory, WhereAWddmAdapterRecordsItsMemory)
{
    const char* const qw6g = "\"HardwareInformation.qwMemorySize\"=hex(b):00,00,00,80,01,00,00,00\n";
    const char* const dword512 = "\"HardwareInformation.MemorySize\"=dword:20000000\n";
    const char* const binary256 = "\"HardwareInformation.MemorySize\"=hex:00,00,00,10\n";
    const struct {
        const char* name;
        std::string device0;
        std::string driverKey;
        int memory;
    } cases[] = {
        {"qwMemorySize", "", qw6g, 6144},
        {"qwMemorySize before MemorySize", "", std::string(qw6g) + dword512, 6144},
        {"MemorySize as a DWORD", "", dword512, 512},
        {"MemorySize as binary data", "", binary256, 256},
        {"qwMemorySize too short", "",
         std::string("\"HardwareInformation.qwMemorySize\"=hex:00,00,00,80,01\n") + dword512, 512},
        {"qwMemorySize too long for 255 bytes", "",
         "\"HardwareInformation.qwMemorySize\"=hex:" +
             std::string(255 * 3, '0')
                 .replace(2, 255 * 3 - 2,
                          [] {
                              std::string s;
                              for (int i = 1; i < 256; ++i)
                                  s += ",00";
                              return s;
                          }()) +
             "\n" + binary256,
         256},
        {"Device0 wins when it has a figure", "\"HardwareInformation.MemorySize\"=dword:04000000\n", qw6g,
         64},
        {"Device0 without a figure", "\"HardwareInformation.ChipType\"=hex:41,00\n", qw6g, 6144},
        {"Device0 figure shorter than 4 bytes", "\"HardwareInformation.MemorySize\"=hex:00,00,40\n", dword512,
         512},
        {"no figure anywhere", "", "\"ProviderName\"=\"NVIDIA\"\n", 0},
        {"16 EB", "", "\"HardwareInformation.qwMemorySize\"=hex(b):ff,ff,ff,ff,ff,ff,ff,ff\n", 2147483647},
    };
    for (const auto& c : cases) {
        MachineUnderTest machine(adapterRegistry(c.device0, c.driverKey), "");
        ASSERT_TRUE(machine) << c.name;
        DeviceInfo devices;
        devices.setSystemDeviceInfo(true);
        DisplayInfo display;
        display.setDisplayInfo(true, devices.getSystemDeviceInfo());
        ASSERT_EQ(display.getVgaListCount(), 1) << c.name << ": the resolved location lets it pass";
        char name[260] = {};
        EXPECT_EQ(display.getVgaDescription(0, name, sizeof name), 1);
        EXPECT_STREQ(name, "NVIDIA GeForce RTX 2060") << c.name;
        EXPECT_EQ(display.getVgaMemorySize(0), c.memory) << c.name;
    }
}

TEST(DriverKeyMemory, TheWindows95FamilyNeverLooksThere)
{
    MachineUnderTest machine(
        std::string(test::kRegHeader) +
            "[HKEY_LOCAL_MACHINE\\Enum\\PCI\\VEN_10DE\\1]\n\"Class\"=\"Display\"\n\"HardwareID\"="
            "\"PCI\\\\VEN_10DE\"\n"
            "\"Driver\"=\"Display\\\\0000\"\n\n"
            "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Class\\Display\\0000]\n"
            "\"HardwareInformation.MemorySize\"=dword:04000000\n",
        "");
    ASSERT_TRUE(machine);
    DeviceInfo devices;
    devices.setSystemDeviceInfo(false);
    DisplayInfo display;
    display.setDisplayInfo(false, devices.getSystemDeviceInfo());
    ASSERT_EQ(display.getVgaListCount(), 1);
    EXPECT_EQ(display.getVgaMemorySize(0), 0);
}

}  // namespace
}  // namespace kel
