#include "control/framework/Resources.h"

#include "control/framework/Module.h"

namespace kel::com {

namespace {

const void* lockResource(const wchar_t* type, UINT id, LANGID language, DWORD* size)
{
    HRSRC found = FindResourceExW(Module::instance(), type, MAKEINTRESOURCEW(id), language);
    if (!found)
        return nullptr;
    HGLOBAL loaded = LoadResource(Module::instance(), found);
    if (!loaded)
        return nullptr;
    *size = SizeofResource(Module::instance(), found);
    return LockResource(loaded);
}

}  // namespace

std::wstring loadResourceString(UINT id, LANGID language)
{
    // Strings are stored in blocks of sixteen, each a count and its units.
    DWORD size = 0;
    const auto* units = static_cast<const WCHAR*>(
        lockResource(MAKEINTRESOURCEW(6) /* RT_STRING */, id / 16 + 1, language, &size));
    if (!units)
        return std::wstring();
    const WCHAR* end = units + size / sizeof(WCHAR);
    for (UINT i = 0; i < id % 16; ++i) {
        if (units >= end)
            return std::wstring();
        units += 1 + *units;
    }
    if (units >= end || units + 1 + *units > end)
        return std::wstring();
    return std::wstring(reinterpret_cast<const wchar_t*>(units + 1), *units);
}

const DLGTEMPLATE* loadDialogTemplate(UINT id, LANGID language)
{
    DWORD size = 0;
    return static_cast<const DLGTEMPLATE*>(
        lockResource(MAKEINTRESOURCEW(5) /* RT_DIALOG */, id, language, &size));
}

}  // namespace kel::com
