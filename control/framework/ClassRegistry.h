// The registry entries of the classes a server module offers, under
// HKEY_CLASSES_ROOT.
#pragma once

#include <windows.h>

#include <string>

namespace kel::com {

// One value to write: key below HKEY_CLASSES_ROOT, value name (null for the
// default value) and text.
struct RegistryEntry {
    std::wstring key;
    const wchar_t* name;
    std::wstring value;
};

// "{XXXXXXXX-...}", upper case, as the registry keys name classes.
std::wstring guidText(REFGUID guid);

// Writes every entry in order; fails with SELFREG_E_CLASS as soon as one
// key cannot be created or one value cannot be written.
HRESULT writeRegistryEntries(const RegistryEntry* entries, std::size_t count);

// Removes a class. When a 16-bit server is registered for the same class
// (subkey InprocServer) only our InprocServer32 and ToolboxBitmap32 go;
// otherwise the whole CLSID key and, when given, the ProgID key.
HRESULT removeClassEntries(REFCLSID clsid, const wchar_t* progId);

}  // namespace kel::com
