// A container's site that names its page the way a browser's sites do:
// through the browser its service provider offers, or as the moniker of its
// container (the document). It counts its references, so that a test can
// see the control let go of it.
#pragma once

#include "control/framework/ComPtr.h"
#include "tests/control/FakeBrowser.h"

#include <oleidl.h>
#include <servprov.h>

#include <string>

namespace kel::test {

class TestSite final : public IOleClientSite, public IServiceProvider {
public:
    enum class Names { Nothing, ThroughBrowser, ThroughMoniker };

    TestSite(Names names, const std::wstring& url);
    TestSite(const TestSite&) = delete;
    TestSite& operator=(const TestSite&) = delete;

    // References held by others, on the site and on its browser.
    ULONG references() const { return references_ + browser_.references(); }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override { return --references_; }

    // IOleClientSite
    HRESULT STDMETHODCALLTYPE SaveObject() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetMoniker(DWORD assign, DWORD which, IMoniker** moniker) override;
    HRESULT STDMETHODCALLTYPE GetContainer(IOleContainer** container) override;
    HRESULT STDMETHODCALLTYPE ShowObject() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnShowWindow(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE RequestNewObjectLayout() override { return E_NOTIMPL; }

    // IServiceProvider
    HRESULT STDMETHODCALLTYPE QueryService(REFGUID service, REFIID iid, void** object) override;

private:
    Names names_;
    FakeBrowser browser_;
    com::com_ptr<IMoniker> document_;
    ULONG references_ = 0;  // the test owns the object: it lives on its stack
};

}  // namespace kel::test
