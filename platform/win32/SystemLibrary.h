// Functions that some supported systems lack, looked up at run time so that
// the module still loads there.
#pragma once

#include <windows.h>

#include <memory>

namespace kel {

template <typename Function>
Function moduleFunction(HMODULE library, const char* name)
{
    if (!library)
        return nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(library, name)));
}

// A function of a system library that is already loaded, or null when this
// system lacks it.
template <typename Function>
Function systemFunction(const char* module, const char* name)
{
    return moduleFunction<Function>(GetModuleHandleA(module), name);
}

// A system library loaded for as long as the object lives; empty when this
// system lacks it.
inline void freeLibrary(HMODULE library) { FreeLibrary(library); }
using Library = std::unique_ptr<HINSTANCE__, decltype(&freeLibrary)>;
inline Library loadLibrary(const char* name) { return Library(LoadLibraryA(name), &freeLibrary); }

}  // namespace kel
