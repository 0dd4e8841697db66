#include "inventory/OsName.h"

#include <iterator>

namespace kel {

namespace {

struct ModernName {
    uint32_t major, minor;
    const char* workstation;
    const char* server;
};

// clang-format off
//  major minor  workstation      server
const ModernName kModernNames[] = {
    {6,    0,    "Windows Vista", "Windows Server 2008"},
    {6,    1,    "Windows 7",     "Windows Server 2008 R2"},
    {6,    2,    "Windows 8",     "Windows Server 2012"},
    {6,    3,    "Windows 8.1",   "Windows Server 2012 R2"},
};
// clang-format on

struct ServerBuild {
    uint32_t build;
    const char* name;
};

// Windows 10's servers by their build.
const ServerBuild kServerBuilds[] = {
    {14393, "Windows Server 2016"},
    {17763, "Windows Server 2019"},
    {20348, "Windows Server 2022"},
    {26100, "Windows Server 2025"},
};

constexpr uint32_t kWindows11Build = 22000;

}  // namespace

std::string modernWindowsName(uint32_t major, uint32_t minor, uint32_t build, uint8_t productType)
{
    // Domain controllers (2) are servers too; a record without the type
    // is taken for a workstation.
    const bool workstation = productType != kProductDomainController && productType != kProductServer;
    if (major == 10 && minor == 0) {
        if (workstation)
            return build >= kWindows11Build ? "Windows 11" : "Windows 10";
        for (const ServerBuild& server : kServerBuilds) {
            if (server.build == build)
                return server.name;
        }
        return "Windows Server";
    }
    for (const ModernName& name : kModernNames) {
        if (name.major == major && name.minor == minor)
            return workstation ? name.workstation : name.server;
    }
    return std::string();
}

std::string reportOsName(const std::string& osLine)
{
    std::string name = osLine.substr(0, osLine.find(" Version "));
    // Win32s's line is "Microsoft Win32s ", whose maker the formats add again.
    const std::string maker = "Microsoft ";
    if (name.compare(0, maker.size(), maker) == 0)
        name.erase(0, maker.size());
    std::size_t last = name.find_last_not_of(' ');
    return last == std::string::npos ? std::string() : name.substr(0, last + 1);
}

}  // namespace kel
