#include "control/PageUrl.h"

#include "control/framework/ComPtr.h"

#include <exdisp.h>
#include <objidl.h>
#include <oleidl.h>
#include <servprov.h>
#include <shlguid.h>

#include <memory>

namespace kel {

namespace {

using com::com_ptr;

std::u16string textOf(const OLECHAR* text, std::size_t length)
{
    return text ? std::u16string(reinterpret_cast<const char16_t*>(text), length) : std::u16string();
}

// IWebBrowser2::get_LocationURL of the browser the site's services offer.
std::u16string browserUrl(IUnknown* site)
{
    com_ptr<IServiceProvider> services;
    com_ptr<IWebBrowser2> browser;
    if (FAILED(site->QueryInterface(IID_IServiceProvider, services.put_void())) ||
        FAILED(services->QueryService(SID_SWebBrowserApp, IID_IWebBrowser2, browser.put_void())) || !browser)
        return std::u16string();
    BSTR location = nullptr;
    const HRESULT hr = browser->get_LocationURL(&location);
    const std::unique_ptr<OLECHAR, decltype(&SysFreeString)> owned(location, SysFreeString);
    return SUCCEEDED(hr) ? textOf(location, SysStringLen(location)) : std::u16string();
}

// The display name of the client site's container moniker: a browser's
// document gives its URL moniker.
std::u16string monikerUrl(IUnknown* site)
{
    com_ptr<IOleClientSite> clientSite;
    com_ptr<IMoniker> moniker;
    com_ptr<IBindCtx> context;
    if (FAILED(site->QueryInterface(IID_IOleClientSite, clientSite.put_void())) ||
        FAILED(clientSite->GetMoniker(OLEGETMONIKER_ONLYIFTHERE, OLEWHICHMK_CONTAINER, moniker.put())) ||
        !moniker || FAILED(CreateBindCtx(0, context.put())))
        return std::u16string();
    LPOLESTR name = nullptr;
    const HRESULT hr = moniker->GetDisplayName(context.get(), nullptr, &name);
    const std::unique_ptr<OLECHAR, decltype(&CoTaskMemFree)> owned(name, CoTaskMemFree);
    return SUCCEEDED(hr) && name ? textOf(name, std::char_traits<OLECHAR>::length(name)) : std::u16string();
}

}  // namespace

std::u16string pageUrlOf(IUnknown* site)
{
    if (!site)
        return std::u16string();
    std::u16string url = browserUrl(site);
    return url.empty() ? monikerUrl(site) : url;
}

}  // namespace kel
