// The Kel control: a white rectangle with an ellipse in it, whose dispatch
// interface _DKel returns the brief and the detailed report of the machine.
#pragma once

#include "control/framework/OleControl.h"

#include <objsafe.h>

namespace kel {

class CKelCtrl final : public com::OleControl, public IObjectSafety {
public:
    CKelCtrl();

    static HRESULT create(REFIID iid, void** object);
    static HRESULT registerClass();
    static HRESULT unregisterClass();

    // IUnknown of the one object, for IObjectSafety too.
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    // IObjectSafety: safe for scripting through IDispatch, safe for
    // initialising through the persistence interfaces.
    HRESULT STDMETHODCALLTYPE GetInterfaceSafetyOptions(REFIID iid, DWORD* supported,
                                                        DWORD* enabled) override;
    HRESULT STDMETHODCALLTYPE SetInterfaceSafetyOptions(REFIID iid, DWORD mask, DWORD options) override;

private:
    ~CKelCtrl() override = default;

    void drawContent(HDC dc, const RECT& bounds) override;
    IUnknown* extraInterface(REFIID iid) override;
};

}  // namespace kel
