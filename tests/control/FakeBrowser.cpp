#include "tests/control/FakeBrowser.h"

#include <gtest/gtest.h>

namespace kel::test {

HRESULT FakeBrowser::QueryInterface(REFIID iid, void** object)
{
    if (!object)
        return E_POINTER;
    *object = nullptr;
    if (!IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, IID_IDispatch) &&
        !IsEqualIID(iid, IID_IWebBrowser) && !IsEqualIID(iid, IID_IWebBrowserApp) &&
        !IsEqualIID(iid, IID_IWebBrowser2))
        return E_NOINTERFACE;
    *object = static_cast<IWebBrowser2*>(this);
    AddRef();
    return S_OK;
}

HRESULT FakeBrowser::get_LocationURL(BSTR* url)
{
    if (!url)
        return E_POINTER;
    *url = SysAllocString(url_.c_str());
    return *url ? S_OK : E_OUTOFMEMORY;
}

HRESULT FakeBrowser::unexpected(const char* method)
{
    ADD_FAILURE() << "unexpected call of IWebBrowser2::" << method;
    return E_NOTIMPL;
}

}  // namespace kel::test
