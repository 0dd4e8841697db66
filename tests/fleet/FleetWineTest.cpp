// The facts that tell one PC from another, from the real platform under
// Wine, against what the host itself says: its name and its interfaces'
// hardware addresses (/proc and /sys, which the Wine root shows at Z:), and
// its DMI data, from which Wine makes the SMBIOS table. What Wine lacks is
// in docs/wine.md.
#include "collectors/AdapterInfo.h"
#include "collectors/FirmwareInfo.h"
#include "collectors/IdentityInfo.h"
#include "platform/Platform.h"
#include "tests/wine/FolderNames.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <string>
#include <vector>

using namespace kel;

namespace {

// The first line of a host file, or empty when the host has none.
std::string hostLine(const std::string& path)
{
    std::ifstream in("Z:" + path);
    std::string line;
    std::getline(in, line);
    return line;
}

std::string upper(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

TEST(FleetWine, ComputerNameIsTheHostsNameAsWineShowsIt)
{
    const std::string host = hostLine("/proc/sys/kernel/hostname");
    ASSERT_FALSE(host.empty());
    // Wine's computer name: the host name up to its first dot, in upper
    // case, at most the platform's 15 characters.
    const std::string expected = upper(host.substr(0, host.find('.'))).substr(0, kComputerNameLength);
    IdentityInfo identity;
    identity.setIdentityInfo();
    EXPECT_EQ(expected, identity.computerName());
    EXPECT_FALSE(identity.userName().empty());
    EXPECT_EQ("Workgroup", identity.joinName()) << "Wine's fixed answer";
    EXPECT_EQ(JoinStatus::Workgroup, identity.joinStatus());
}

// The host's network interfaces but loopback, as /sys lists them.
std::vector<std::string> hostInterfaces()
{
    std::vector<std::string> names;
    for (const std::string& name : folderNames("Z:\\sys\\class\\net", "*")) {
        if (name != "." && name != ".." && name != "lo")
            names.push_back(name);
    }
    return names;
}

TEST(FleetWine, AdaptersAreTheHostsInterfacesWithTheirHardwareAddresses)
{
    const std::vector<std::string> interfaces = hostInterfaces();
    AdapterInfo adapters;
    adapters.setAdapterInfo(true, nullptr);
    EXPECT_EQ(interfaces.size(), adapters.adapters().size());
    for (const NetworkAdapter& adapter : adapters.adapters()) {
        // Wine describes an adapter by its host interface's name.
        const std::string& interface = adapter.record.description;
        EXPECT_NE(interfaces.end(), std::find(interfaces.begin(), interfaces.end(), interface)) << interface;
        EXPECT_EQ(hostLine("/sys/class/net/" + interface + "/address"), hardwareAddress(adapter.record))
            << interface;
        EXPECT_EQ('{', adapter.record.name.empty() ? 0 : adapter.record.name[0]) << adapter.record.name;
    }
}

TEST(FleetWine, FirmwareIsTheHostsDmiAsWinePassesItOn)
{
    FirmwareInfo firmware;
    firmware.setFirmwareInfo();
    ASSERT_TRUE(firmware.hasTable()) << "Wine makes a table even without DMI";
    const SmbiosFacts& f = firmware.facts();
    const struct {
        const char* file;
        const std::string& got;
    } fields[] = {
        {"bios_vendor", f.biosVendor},  {"bios_version", f.biosVersion}, {"bios_date", f.biosDate},
        {"sys_vendor", f.manufacturer}, {"product_name", f.product},
    };
    for (const auto& field : fields)
        EXPECT_EQ(hostLine(std::string("/sys/class/dmi/id/") + field.file), field.got) << field.file;
    const std::string uuid = upper(hostLine("/sys/class/dmi/id/product_uuid"));
    EXPECT_EQ(uuid, f.uuid);
    // Where the host gives no serial (or hides it from this user), Wine
    // writes a placeholder.
    const std::string serial = hostLine("/sys/class/dmi/id/product_serial");
    EXPECT_EQ(serial.empty() ? "System Serial Number" : serial, f.serialNumber);
}

}  // namespace
