#include "control/framework/ClassRegistry.h"

#include "control/framework/RegistryKey.h"

#include <olectl.h>

#include <iterator>

namespace kel::com {

std::wstring guidText(REFGUID guid)
{
    wchar_t text[40];
    const int length = StringFromGUID2(guid, text, std::size(text));
    return length > 0 ? std::wstring(text, length - 1) : std::wstring();
}

HRESULT writeRegistryEntries(const RegistryEntry* entries, std::size_t count)
{
    for (std::size_t i = 0; i < count; ++i) {
        RegistryKey key;
        if (key.create(HKEY_CLASSES_ROOT, entries[i].key) != ERROR_SUCCESS)
            return SELFREG_E_CLASS;
        if (key.setText(entries[i].name, entries[i].value) != ERROR_SUCCESS)
            return SELFREG_E_CLASS;
    }
    return S_OK;
}

HRESULT removeClassEntries(REFCLSID clsid, const wchar_t* progId)
{
    const std::wstring classKey = L"CLSID\\" + guidText(clsid);
    if (RegistryKey::exists(HKEY_CLASSES_ROOT, classKey + L"\\InprocServer")) {
        for (const wchar_t* subkey : {L"\\InprocServer32", L"\\ToolboxBitmap32"}) {
            if (RegistryKey::deleteTree(HKEY_CLASSES_ROOT, classKey + subkey) != ERROR_SUCCESS)
                return SELFREG_E_CLASS;
        }
        return S_OK;
    }
    if (RegistryKey::deleteTree(HKEY_CLASSES_ROOT, classKey) != ERROR_SUCCESS)
        return SELFREG_E_CLASS;
    if (progId && RegistryKey::deleteTree(HKEY_CLASSES_ROOT, progId) != ERROR_SUCCESS)
        return SELFREG_E_CLASS;
    return S_OK;
}

}  // namespace kel::com
