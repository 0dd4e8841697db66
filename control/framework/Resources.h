// Reads the module's own resources in the one language they are stored in,
// whatever the language of the thread asking.
#pragma once

#include <windows.h>

#include <string>

namespace kel::com {

// The string of the string table, or empty when it is missing.
std::wstring loadResourceString(UINT id, LANGID language);

// The dialog template, or null when it is missing. It lives as long as the
// module.
const DLGTEMPLATE* loadDialogTemplate(UINT id, LANGID language);

}  // namespace kel::com
