#include "control/framework/TypeLibrary.h"

#include "control/framework/ClassRegistry.h"
#include "control/framework/Module.h"
#include "control/framework/RegistryKey.h"

#include <olectl.h>

#include <cwchar>
#include <iterator>

namespace kel::com {

namespace {

#ifdef _WIN64
constexpr SYSKIND kOwnSysKind = SYS_WIN64;
constexpr const wchar_t* kOwnSysKindKey = L"win64";
#else
constexpr SYSKIND kOwnSysKind = SYS_WIN32;
constexpr const wchar_t* kOwnSysKindKey = L"win32";
#endif

}  // namespace

TypeLibrary::TypeLibrary(const GUID& libraryId, WORD major, WORD minor, LCID ownLocale)
    : libraryId_(libraryId), major_(major), minor_(minor), ownLocale_(ownLocale)
{
}

HRESULT TypeLibrary::load(LCID callerLocale, com_ptr<ITypeLib>* library)
{
    std::lock_guard<std::mutex> guard(lock_);
    if (!cached_) {
        // The registry first, as hosts expect; a locale the library was not
        // registered for must not make the control unusable.
        HRESULT hr = LoadRegTypeLib(libraryId_, major_, minor_, callerLocale, cached_.put());
        if (FAILED(hr) && callerLocale != ownLocale_)
            hr = LoadRegTypeLib(libraryId_, major_, minor_, ownLocale_, cached_.put());
        if (FAILED(hr)) {
            const std::wstring path = Module::path();
            hr = LoadTypeLibEx(path.c_str(), REGKIND_NONE, cached_.put());
        }
        if (FAILED(hr))
            return hr;
    }
    *library = cached_;
    return S_OK;
}

HRESULT TypeLibrary::typeInfo(REFGUID guid, LCID callerLocale, ITypeInfo** info)
{
    if (!info)
        return E_POINTER;
    *info = nullptr;
    com_ptr<ITypeLib> library;
    const HRESULT hr = load(callerLocale, &library);
    if (FAILED(hr))
        return hr;
    return library->GetTypeInfoOfGuid(guid, info);
}

HRESULT TypeLibrary::registerFromModule()
{
    const std::wstring path = Module::path();
    if (path.empty())
        return SELFREG_E_TYPELIB;
    com_ptr<ITypeLib> library;
    if (FAILED(LoadTypeLibEx(path.c_str(), REGKIND_NONE, library.put())))
        return SELFREG_E_TYPELIB;
    TLIBATTR* attributes = nullptr;
    if (FAILED(library->GetLibAttr(&attributes)))
        return SELFREG_E_TYPELIB;
    const bool ours = IsEqualGUID(attributes->guid, libraryId_);
    library->ReleaseTLibAttr(attributes);
    if (!ours)
        return SELFREG_E_TYPELIB;
    std::wstring writablePath = path;
    if (FAILED(RegisterTypeLib(library.get(), &writablePath[0], nullptr)))
        return SELFREG_E_TYPELIB;
    return S_OK;
}

HRESULT TypeLibrary::unregisterLocale(LCID locale)
{
    wchar_t version[32];
    std::swprintf(version, std::size(version), L"\\%x.%x\\%lx\\", major_, minor_,
                  static_cast<unsigned long>(locale));
    const std::wstring key = L"TypeLib\\" + guidText(libraryId_) + version + kOwnSysKindKey;
    if (!RegistryKey::exists(HKEY_CLASSES_ROOT, key))
        return S_OK;
    return UnRegisterTypeLib(libraryId_, major_, minor_, locale, kOwnSysKind);
}

HRESULT TypeLibrary::unregister()
{
    // Locale 0 is what installers of old registered; RegisterTypeLib files
    // the library under its own locale, which locale 0 does not reach.
    for (LCID locale : {LCID(0), ownLocale_}) {
        if (FAILED(unregisterLocale(locale)))
            return SELFREG_E_TYPELIB;
    }
    return S_OK;
}

void TypeLibrary::release()
{
    std::lock_guard<std::mutex> guard(lock_);
    cached_.reset();
}

}  // namespace kel::com
