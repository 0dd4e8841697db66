#include "collectors/SoftwareInfo.h"

#include "collectors/TextOut.h"
#include "platform/RegViews.h"

namespace kel {

namespace {

const char kUninstallPath[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

}  // namespace

SoftwareInfo::SoftwareInfo() = default;
SoftwareInfo::SoftwareInfo(const SoftwareInfo& other) = default;
SoftwareInfo& SoftwareInfo::operator=(const SoftwareInfo& other) = default;
SoftwareInfo::~SoftwareInfo() = default;

void SoftwareInfo::setSoftwareInfo()
{
    forEachMachineView(kUninstallPath, kKeyRead,
                       [this](const RegKey& list, uint32_t view, bool) { readUninstallList(list, view); });
}

void SoftwareInfo::readUninstallList(const RegKey& list, uint32_t view)
{
    forEachSubKeyName(list, [&](const char* name) { regSearch(name, view); });
}

void SoftwareInfo::regSearch(const char* subKeyName, uint32_t view)
{
    RegKey program;
    if (program.open(RegRoot::LocalMachine, KeyPath(kUninstallPath, subKeyName), kKeyQueryValue | view) !=
        kRegSuccess)
        return;
    std::string displayName;
    if (program.readText("DisplayName", kMaxPath, &displayName))
        programNames.append(std::move(displayName));
}

int SoftwareInfo::getSoftwareListCount() { return static_cast<int>(programNames.size()); }

// A buffer too small answers 0, an index outside the list -1.
int SoftwareInfo::getSoftwareDescription(int index, char* buffer, int size)
{
    return describeEntry(programNames, index, buffer, size, textItself, 0);
}

int SoftwareInfo::getSoftwareInfo(char* buffer, int size)
{
    return describeAll(programNames, buffer, size, textItself);
}

}  // namespace kel
