// A registry key opened for writing, closed on scope exit, with the few
// operations self-registration needs.
#pragma once

#include <windows.h>

#include <string>

namespace kel::com {

class RegistryKey {
public:
    RegistryKey() = default;
    ~RegistryKey();
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;

    // Creates or opens parent\path for writing.
    LONG create(HKEY parent, const std::wstring& path);
    // Writes a REG_SZ value with its terminating NUL; a null name is the
    // key's default value.
    LONG setText(const wchar_t* name, const std::wstring& value);

    // Whether parent\path exists; view may name the other registry view
    // (KEY_WOW64_32KEY, KEY_WOW64_64KEY).
    static bool exists(HKEY parent, const std::wstring& path, REGSAM view = 0);
    // Deletes the key and everything below it; a missing key counts as
    // deleted.
    static LONG deleteTree(HKEY parent, const std::wstring& path);

private:
    HKEY key_ = nullptr;
};

}  // namespace kel::com
