// The module's type library: loaded once through the registry (falling back
// to the library's own locale and then to the copy inside the module, so a
// caller of any locale gets it), cached until the module unloads, and
// registered or unregistered for self-registration.
#pragma once

#include "control/framework/ComPtr.h"

#include <oaidl.h>

#include <mutex>

namespace kel::com {

class TypeLibrary {
public:
    TypeLibrary(const GUID& libraryId, WORD major, WORD minor, LCID ownLocale);

    // The type description of guid, for a caller of the given locale.
    HRESULT typeInfo(REFGUID guid, LCID callerLocale, ITypeInfo** info);

    // Loads the library from the module's own file and registers it there,
    // without a help directory; SELFREG_E_TYPELIB on any failure.
    HRESULT registerFromModule();
    // Removes the registration; one already missing counts as removed.
    HRESULT unregister();

    // Drops the cached library (module unload).
    void release();

private:
    HRESULT load(LCID callerLocale, com_ptr<ITypeLib>* library);
    HRESULT unregisterLocale(LCID locale);

    const GUID libraryId_;
    const WORD major_;
    const WORD minor_;
    const LCID ownLocale_;
    std::mutex lock_;
    com_ptr<ITypeLib> cached_;
};

}  // namespace kel::com
