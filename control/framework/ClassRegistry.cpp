#include "control/framework/ClassRegistry.h"

#include "control/framework/Module.h"
#include "control/framework/RegistryKey.h"
#include "control/framework/Resources.h"

#include <olectl.h>

#include <iterator>

namespace kel::com {

namespace {

std::wstring valueOf(const ClassRow& row, const std::wstring& typeName, const std::wstring& path)
{
    switch (row.kind) {
    case ClassValue::TypeName:
        return typeName;
    case ClassValue::ModulePath:
        return path;
    case ClassValue::ModuleResource:
        return path + L", " + row.text;
    case ClassValue::Text:
        break;
    }
    return row.text;
}

// The view of HKEY_CLASSES_ROOT that the module of the other bitness
// registers in: the 32-bit one for a 64-bit module; for a 32-bit module the
// 64-bit one, when there is one (under WoW64). Zero when there is none.
REGSAM otherView()
{
#ifdef _WIN64
    return KEY_WOW64_32KEY;
#else
    using IsWow64Function = BOOL(WINAPI*)(HANDLE, PBOOL);
    // Looked up at run time: systems before XP SP2 lack it, and have no
    // other view.
    const auto isWow64Process = reinterpret_cast<IsWow64Function>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "IsWow64Process")));
    BOOL wow64 = FALSE;
    if (!isWow64Process || !isWow64Process(GetCurrentProcess(), &wow64) || !wow64)
        return 0;
    return KEY_WOW64_64KEY;
#endif
}

// Whether a module of the other view still serves the class. Windows 7 and
// later keep one ProgID key for both views, so removing it then would take
// the class from that module's callers too.
bool otherViewServes(const ClassRegistration& registration)
{
    const REGSAM view = otherView();
    return view != 0 &&
           RegistryKey::exists(HKEY_CLASSES_ROOT, std::wstring(registration.classKey) + L"\\InprocServer32", view);
}

}  // namespace

std::wstring guidText(REFGUID guid)
{
    wchar_t text[40];
    const int length = StringFromGUID2(guid, text, std::size(text));
    return length > 0 ? std::wstring(text, length - 1) : std::wstring();
}

HRESULT writeClassRows(const ClassRegistration& registration, LANGID resourceLanguage)
{
    std::wstring typeName = loadResourceString(registration.typeNameId, resourceLanguage);
    if (typeName.empty())
        typeName = registration.clsid;
    const std::wstring path = Module::shortPath();
    for (std::size_t i = 0; i < registration.rowCount; ++i) {
        const ClassRow& row = registration.rows[i];
        RegistryKey key;
        if (key.create(HKEY_CLASSES_ROOT, row.key) != ERROR_SUCCESS)
            return SELFREG_E_CLASS;
        if (key.setText(row.name, valueOf(row, typeName, path)) != ERROR_SUCCESS)
            return SELFREG_E_CLASS;
    }
    return S_OK;
}

HRESULT removeClassRows(const ClassRegistration& registration)
{
    const std::wstring classKey = registration.classKey;
    if (RegistryKey::exists(HKEY_CLASSES_ROOT, classKey + L"\\InprocServer")) {
        for (const wchar_t* subkey : {L"\\InprocServer32", L"\\ToolboxBitmap32"}) {
            if (RegistryKey::deleteTree(HKEY_CLASSES_ROOT, classKey + subkey) != ERROR_SUCCESS)
                return SELFREG_E_CLASS;
        }
        return S_OK;
    }
    if (RegistryKey::deleteTree(HKEY_CLASSES_ROOT, classKey) != ERROR_SUCCESS)
        return SELFREG_E_CLASS;
    if (registration.progId && !otherViewServes(registration) &&
        RegistryKey::deleteTree(HKEY_CLASSES_ROOT, registration.progId) != ERROR_SUCCESS)
        return SELFREG_E_CLASS;
    return S_OK;
}

}  // namespace kel::com
