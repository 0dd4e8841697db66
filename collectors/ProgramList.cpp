#include "collectors/ProgramList.h"

#include "platform/RegViews.h"

namespace kel {

namespace {

const char kUninstallPath[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

bool isHidden(const RegKey& entry)
{
    uint8_t data[4] = {};
    uint32_t type = 0;
    uint32_t size = sizeof data;
    if (platform().regQueryValue(entry.handle(), "SystemComponent", &type, data, &size) != kRegSuccess)
        return false;
    return type == kRegDword && size == sizeof data && data[0] == 1 && data[1] == 0 && data[2] == 0 &&
           data[3] == 0;
}

// The bitness of the programs an uninstall list of this view holds.
unsigned viewBits(uint32_t view)
{
    if (!platform().isWindows64())
        return 32;
    return view == kKeyWow64_64Key ? 64 : 32;
}

}  // namespace

void ProgramList::setProgramList()
{
    forEachMachineView(kUninstallPath, kKeyRead, [this](const RegKey& list, uint32_t view, bool) {
        forEachSubKeyName(list, [&](const char* name) { readEntry(RegRoot::LocalMachine, name, view); });
    });
    RegKey userList;
    if (userList.open(RegRoot::CurrentUser, kUninstallPath, kKeyRead) == kRegSuccess)
        forEachSubKeyName(userList, [&](const char* name) { readEntry(RegRoot::CurrentUser, name, 0); });
}

void ProgramList::readEntry(RegRoot root, const char* subKeyName, uint32_t view)
{
    RegKey entry;
    if (entry.open(root, KeyPath(kUninstallPath, subKeyName), kKeyQueryValue | view) != kRegSuccess)
        return;
    Program program;
    // The same bounds as the report's program lines, so that both list the same names.
    if (!entry.readText("DisplayName", kMaxPath, &program.name))
        return;
    entry.readText("DisplayVersion", kMaxPath, &program.version);
    entry.readText("Publisher", kMaxPath, &program.publisher);
    entry.readText("InstallDate", kMaxPath, &program.installDate);
    program.perUser = root == RegRoot::CurrentUser;
    program.bits = program.perUser ? 0 : viewBits(view);
    program.hidden = isHidden(entry);
    programs_.push_back(std::move(program));
}

}  // namespace kel
