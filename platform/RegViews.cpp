#include "platform/RegViews.h"

namespace kel {

void forEachMachineView(const std::string& path, uint32_t access,
                        const std::function<void(const RegKey& key, uint32_t view, bool apart)>& visit)
{
    Platform& p = platform();
    if (!p.isWindows64()) {
        RegKey key;
        if (key.open(RegRoot::LocalMachine, path, access) == kRegSuccess)
            visit(key, 0, false);
        return;
    }
    const uint32_t own = p.ownRegistryView();
    const uint32_t other = own == kKeyWow64_32Key ? kKeyWow64_64Key : kKeyWow64_32Key;
    // Both are opened before either is read, so that the platform can tell
    // whether they are one key.
    RegKey first;
    RegKey second;
    first.open(RegRoot::LocalMachine, path, access | own);
    second.open(RegRoot::LocalMachine, path, access | other);
    const bool shared = first.isOpen() && second.isOpen() && p.regSameKey(first.handle(), second.handle());
    if (first.isOpen())
        visit(first, own, !shared);
    if (second.isOpen() && !shared)
        visit(second, other, true);
}

void forEachSubKeyName(const RegKey& key, const std::function<void(const char* name)>& visit)
{
    uint32_t subKeys = 0;
    uint32_t values = 0;
    if (platform().regQueryInfoKey(key.handle(), &subKeys, &values) != kRegSuccess)
        return;
    for (uint32_t i = 0; i < subKeys; ++i) {
        // One byte beyond what the platform may fill keeps the name ended.
        char name[kMaxPath + 1] = {};
        if (platform().regEnumKey(key.handle(), i, name, kMaxPath) == kRegSuccess)
            visit(name);
    }
}

}  // namespace kel
