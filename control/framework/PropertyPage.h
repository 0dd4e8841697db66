// A property page shown from a dialog resource. The page class derives from
// it and decides what, if anything, the page exchanges with its objects.
#pragma once

#include "control/framework/ClassFactory.h"
#include "control/framework/ComPtr.h"
#include "control/framework/Module.h"

#include <ocidl.h>

namespace kel::com {

struct PropertyPageDescription {
    UINT dialogId;
    UINT captionId;  // string resource
    LANGID resourceLanguage;
};

class PropertyPage : public IPropertyPage {
public:
    explicit PropertyPage(const PropertyPageDescription& description);
    PropertyPage(const PropertyPage&) = delete;
    PropertyPage& operator=(const PropertyPage&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    HRESULT STDMETHODCALLTYPE SetPageSite(IPropertyPageSite* site) override;
    HRESULT STDMETHODCALLTYPE Activate(HWND parent, LPCRECT position, BOOL modal) override;
    HRESULT STDMETHODCALLTYPE Deactivate() override;
    HRESULT STDMETHODCALLTYPE GetPageInfo(PROPPAGEINFO* info) override;
    HRESULT STDMETHODCALLTYPE SetObjects(ULONG count, IUnknown** objects) override;
    HRESULT STDMETHODCALLTYPE Show(UINT command) override;
    HRESULT STDMETHODCALLTYPE Move(LPCRECT position) override;
    HRESULT STDMETHODCALLTYPE IsPageDirty() override;
    HRESULT STDMETHODCALLTYPE Apply() override;
    HRESULT STDMETHODCALLTYPE Help(LPCOLESTR helpDirectory) override;
    HRESULT STDMETHODCALLTYPE TranslateAccelerator(MSG* message) override;

    HWND window() const { return window_; }

protected:
    virtual ~PropertyPage();

private:
    static INT_PTR CALLBACK dialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

    const PropertyPageDescription& description_;
    ModuleLock moduleLock_;
    RefCount refs_;
    com_ptr<IPropertyPageSite> site_;
    HWND window_ = nullptr;
};

}  // namespace kel::com
