#include "tests/control/TestSite.h"

#include <shlguid.h>
#include <urlmon.h>

#include <gtest/gtest.h>

namespace kel::test {

TestSite::TestSite(Names names, const std::wstring& url) : names_(names), browser_(url)
{
    if (names_ == Names::ThroughMoniker) {
        EXPECT_EQ(S_OK, CreateURLMonikerEx(nullptr, url.c_str(), document_.put(), URL_MK_UNIFORM));
    }
}

HRESULT TestSite::QueryInterface(REFIID iid, void** object)
{
    if (!object)
        return E_POINTER;
    *object = nullptr;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IOleClientSite))
        *object = static_cast<IOleClientSite*>(this);
    else if (IsEqualIID(iid, IID_IServiceProvider))
        *object = static_cast<IServiceProvider*>(this);
    else
        return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

HRESULT TestSite::GetMoniker(DWORD, DWORD which, IMoniker** moniker)
{
    if (!moniker)
        return E_POINTER;
    *moniker = nullptr;
    if (which != OLEWHICHMK_CONTAINER || !document_)
        return E_FAIL;
    document_.copyTo(moniker);
    return S_OK;
}

HRESULT TestSite::GetContainer(IOleContainer** container)
{
    if (container)
        *container = nullptr;
    return E_NOINTERFACE;
}

HRESULT TestSite::QueryService(REFGUID service, REFIID iid, void** object)
{
    if (!object)
        return E_POINTER;
    *object = nullptr;
    if (names_ != Names::ThroughBrowser || !IsEqualGUID(service, SID_SWebBrowserApp))
        return E_NOINTERFACE;
    return browser_.QueryInterface(iid, object);
}

}  // namespace kel::test
