#include "control/CKelPropPage.h"

#include "control/KelClassTable.h"
#include "control/framework/ClassRegistry.h"

namespace kel {

namespace {

const com::PropertyPageDescription kDescription = {
    IDD_KEL_PROPPAGE,
    IDS_KEL_PROPPAGE_CAPTION,
    KEL_RESOURCE_LANGUAGE,
};

}  // namespace

CKelPropPage::CKelPropPage() : PropertyPage(kDescription) {}

HRESULT CKelPropPage::create(REFIID iid, void** object)
{
    return com::createObject<CKelPropPage>(iid, object);
}

HRESULT CKelPropPage::registerClass()
{
    return com::writeClassRows(kPropPageRegistration, KEL_RESOURCE_LANGUAGE);
}

HRESULT CKelPropPage::unregisterClass() { return com::removeClassRows(kPropPageRegistration); }

}  // namespace kel
