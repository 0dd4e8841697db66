#include "control/CKelPropPage.h"

#include "control/KelGuids.h"
#include "control/framework/ClassRegistry.h"
#include "control/framework/Resources.h"

#include <iterator>

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
    // No threading model and no ProgID key: the page is only ever created
    // by the property frame of the control's own apartment.
    const std::wstring clsid = com::guidText(kPropPageClsid);
    const std::wstring key = L"CLSID\\" + clsid;
    std::wstring typeName = com::loadResourceString(IDS_KEL_PROPPAGE_TYPE, KEL_RESOURCE_LANGUAGE);
    if (typeName.empty())
        typeName = clsid;
    const com::RegistryEntry entries[] = {
        {key, nullptr, typeName},
        {key + L"\\InprocServer32", nullptr, com::Module::shortPath()},
    };
    return com::writeRegistryEntries(entries, std::size(entries));
}

HRESULT CKelPropPage::unregisterClass() { return com::removeClassEntries(kPropPageClsid, nullptr); }

}  // namespace kel
