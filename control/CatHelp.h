// Component categories through the platform's categories manager. Each
// operation makes and releases its own manager; nothing is kept.
#pragma once

#include <comcat.h>

namespace kel {

// Registers the category with its description (cut to 127 characters),
// in English (United States).
HRESULT registerCategory(REFCATID category, const wchar_t* description);
HRESULT addClassToCategory(REFCLSID clsid, REFCATID category);
HRESULT removeClassFromCategory(REFCLSID clsid, REFCATID category);

}  // namespace kel
