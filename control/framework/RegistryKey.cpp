#include "control/framework/RegistryKey.h"

namespace kel::com {

RegistryKey::~RegistryKey()
{
    if (key_)
        RegCloseKey(key_);
}

LONG RegistryKey::create(HKEY parent, const std::wstring& path)
{
    if (key_) {
        RegCloseKey(key_);
        key_ = nullptr;
    }
    return RegCreateKeyExW(parent, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_READ | KEY_WRITE,
                           nullptr, &key_, nullptr);
}

LONG RegistryKey::setText(const wchar_t* name, const std::wstring& value)
{
    if (!key_)
        return ERROR_INVALID_HANDLE;
    const DWORD bytes = static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));
    return RegSetValueExW(key_, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()), bytes);
}

bool RegistryKey::exists(HKEY parent, const std::wstring& path, REGSAM view)
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(parent, path.c_str(), 0, KEY_READ | view, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

LONG RegistryKey::deleteTree(HKEY parent, const std::wstring& path)
{
    HKEY key = nullptr;
    LONG result = RegOpenKeyExW(parent, path.c_str(), 0, KEY_READ | KEY_WRITE, &key);
    if (result == ERROR_FILE_NOT_FOUND)
        return ERROR_SUCCESS;
    if (result != ERROR_SUCCESS)
        return result;
    // Always take the first subkey: deleting shifts the indices.
    wchar_t name[256];
    for (;;) {
        DWORD length = 256;
        result = RegEnumKeyExW(key, 0, name, &length, nullptr, nullptr, nullptr, nullptr);
        if (result != ERROR_SUCCESS)
            break;
        result = deleteTree(key, name);
        if (result != ERROR_SUCCESS)
            break;
    }
    RegCloseKey(key);
    if (result != ERROR_NO_MORE_ITEMS)
        return result;
    result = RegDeleteKeyW(parent, path.c_str());
    return result == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : result;
}

}  // namespace kel::com
