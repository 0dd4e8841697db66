// The registry entries of the classes a server module offers, under
// HKEY_CLASSES_ROOT.
#pragma once

#include "control/framework/ClassRows.h"

#include <windows.h>

#include <string>

namespace kel::com {

// "{XXXXXXXX-...}", upper case, as the registry keys name classes.
std::wstring guidText(REFGUID guid);

// Writes every row of the class in order, with this module's path and the
// type name from its string table; fails with SELFREG_E_CLASS as soon as one
// key cannot be created or one value cannot be written.
HRESULT writeClassRows(const ClassRegistration& registration, LANGID resourceLanguage);

// Removes a class. When a 16-bit server is registered for the same class
// (subkey InprocServer) only our InprocServer32 and ToolboxBitmap32 go;
// otherwise the whole class key and the ProgID key, which stays as long as
// the module of the other registry view still serves the class.
HRESULT removeClassRows(const ClassRegistration& registration);

}  // namespace kel::com
