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

}  // namespace kel
