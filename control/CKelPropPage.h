// The control's one property page, "General": dialog 200 with a single
// static text. It maps no properties.
#pragma once

#include "control/framework/PropertyPage.h"

namespace kel {

class CKelPropPage final : public com::PropertyPage {
public:
    CKelPropPage();

    static HRESULT create(REFIID iid, void** object);
    static HRESULT registerClass();
    static HRESULT unregisterClass();

private:
    ~CKelPropPage() override = default;
};

}  // namespace kel
