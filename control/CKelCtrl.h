// The Kel control: a white rectangle with an ellipse in it, whose dispatch
// interface _DKel returns the brief and the detailed report of the machine,
// to pages only where the administrator's site lock allows it.
#pragma once

#include "control/framework/OleControl.h"

#include <objsafe.h>
#include <ocidl.h>

#include <string>

namespace kel {

class CKelCtrl final : public com::OleControl, public IObjectSafety, public IObjectWithSite {
public:
    CKelCtrl();

    static HRESULT create(REFIID iid, void** object);
    static HRESULT registerClass();
    static HRESULT unregisterClass();

    // IUnknown of the one object, for IObjectSafety and IObjectWithSite too.
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    // IObjectSafety: safe for scripting through IDispatch, safe for
    // initialising through the persistence interfaces.
    HRESULT STDMETHODCALLTYPE GetInterfaceSafetyOptions(REFIID iid, DWORD* supported,
                                                        DWORD* enabled) override;
    HRESULT STDMETHODCALLTYPE SetInterfaceSafetyOptions(REFIID iid, DWORD mask, DWORD options) override;

    // IObjectWithSite: the site a script's new ActiveXObject gets from the
    // browser, the other place a page's URL comes from.
    HRESULT STDMETHODCALLTYPE SetSite(IUnknown* site) override;
    HRESULT STDMETHODCALLTYPE GetSite(REFIID iid, void** site) override;

    // IDispatch: the report methods refuse a page the site lock does not allow.
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO* exception, UINT* argumentError) override;

private:
    ~CKelCtrl() override = default;

    void drawContent(HDC dc, const RECT& bounds) override;
    IUnknown* extraInterface(REFIID iid) override;
    // False when a policy is in force and the URL either site names is not
    // on its list; also when memory runs out deciding.
    bool pageAllowed();
    std::u16string pageUrl();

    com::com_ptr<IUnknown> site_;
};

}  // namespace kel
