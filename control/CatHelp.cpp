#include "control/CatHelp.h"

#include "control/framework/ComPtr.h"

#include <cwchar>

namespace kel {

namespace {

constexpr LCID kDescriptionLocale = 0x0409;
constexpr std::size_t kMaxDescription = 127;  // CATEGORYINFO holds 128 units

HRESULT categoryRegister(com::com_ptr<ICatRegister>* manager)
{
    return CoCreateInstance(CLSID_StdComponentCategoriesMgr, nullptr, CLSCTX_INPROC_SERVER, IID_ICatRegister,
                            manager->put_void());
}

}  // namespace

HRESULT registerCategory(REFCATID category, const wchar_t* description)
{
    com::com_ptr<ICatRegister> manager;
    const HRESULT hr = categoryRegister(&manager);
    if (FAILED(hr))
        return hr;
    CATEGORYINFO info = {};
    info.catid = category;
    info.lcid = kDescriptionLocale;
    const std::size_t length = std::wcslen(description);
    const std::size_t kept = length < kMaxDescription ? length : kMaxDescription;
    std::wmemcpy(info.szDescription, description, kept);
    info.szDescription[kept] = L'\0';
    return manager->RegisterCategories(1, &info);
}

HRESULT addClassToCategory(REFCLSID clsid, REFCATID category)
{
    com::com_ptr<ICatRegister> manager;
    const HRESULT hr = categoryRegister(&manager);
    if (FAILED(hr))
        return hr;
    CATID list[] = {category};
    return manager->RegisterClassImplCategories(clsid, 1, list);
}

HRESULT removeClassFromCategory(REFCLSID clsid, REFCATID category)
{
    com::com_ptr<ICatRegister> manager;
    const HRESULT hr = categoryRegister(&manager);
    if (FAILED(hr))
        return hr;
    CATID list[] = {category};
    return manager->UnRegisterClassImplCategories(clsid, 1, list);
}

}  // namespace kel
