#include "control/CKelCtrl.h"

#include "control/KelClassTable.h"
#include "control/KelGuids.h"
#include "control/KelTypeLibrary.h"
#include "control/PageUrl.h"
#include "control/framework/ClassRegistry.h"
#include "control/framework/Module.h"
#include "control/framework/Resources.h"
#include "report/Report.h"
#include "report/SiteLock.h"

#include <iterator>
#include <string>

namespace kel {

namespace {

constexpr DWORD kSafeForScripting = INTERFACESAFE_FOR_UNTRUSTED_CALLER;
constexpr DWORD kSafeForInitializing = INTERFACESAFE_FOR_UNTRUSTED_DATA;

// A whole report call, handed back as a BSTR the caller owns.
HRESULT reportInto(ReportKind kind, VARIANT* result)
{
    try {
        std::u16string text;
        if (!runReport(kind, &text))
            return E_OUTOFMEMORY;
        BSTR report =
            SysAllocStringLen(reinterpret_cast<const OLECHAR*>(text.data()), static_cast<UINT>(text.size()));
        if (!report)
            return E_OUTOFMEMORY;
        V_VT(result) = VT_BSTR;
        V_BSTR(result) = report;
        return S_OK;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

HRESULT getBriefInfo(VARIANT* result) { return reportInto(ReportKind::Brief, result); }

HRESULT getDetailInfo(VARIANT* result) { return reportInto(ReportKind::Detail, result); }

const com::DispatchMethod kMethods[] = {
    {KEL_DISPID_GETBRIEFINFO, getBriefInfo},
    {KEL_DISPID_GETDETAILINFO, getDetailInfo},
};

const CLSID* const kPropertyPages[] = {&kPropPageClsid};

// 100 by 50 pixels at 96 dots per inch, in HIMETRIC.
constexpr SIZEL kDefaultExtent = {2646, 1323};

const com::ControlDescription kDescription = {
    &kControlClsid,
    &kDispatchIid,
    &kEventsIid,
    &kelTypeLibrary(),
    kMethods,
    std::size(kMethods),
    kPropertyPages,
    std::size(kPropertyPages),
    KEL_MISC_STATUS,
    KEL_STATE_VERSION,
    kDefaultExtent,
    KEL_RESOURCE_LANGUAGE,
    IDS_KEL_CONTROL_TYPE,
};

bool isPersistence(REFIID iid)
{
    return IsEqualIID(iid, IID_IPersistPropertyBag) || IsEqualIID(iid, IID_IPersistStreamInit) ||
           IsEqualIID(iid, IID_IPersistStorage) || IsEqualIID(iid, IID_IPersistMemory);
}

}  // namespace

CKelCtrl::CKelCtrl() : OleControl(kDescription) {}

HRESULT CKelCtrl::create(REFIID iid, void** object) { return com::createObject<CKelCtrl>(iid, object); }

HRESULT CKelCtrl::QueryInterface(REFIID iid, void** object)
{
    return OleControl::QueryInterface(iid, object);
}

ULONG CKelCtrl::AddRef() { return OleControl::AddRef(); }

ULONG CKelCtrl::Release() { return OleControl::Release(); }

IUnknown* CKelCtrl::extraInterface(REFIID iid)
{
    if (IsEqualIID(iid, IID_IObjectSafety))
        return static_cast<IObjectSafety*>(this);
    if (IsEqualIID(iid, IID_IObjectWithSite))
        return static_cast<IObjectWithSite*>(this);
    return nullptr;
}

std::u16string CKelCtrl::pageUrl()
{
    com::com_ptr<IOleClientSite> clientSite;
    GetClientSite(clientSite.put());
    std::u16string url = pageUrlOf(clientSite.get());
    return url.empty() ? pageUrlOf(site_.get()) : url;
}

bool CKelCtrl::pageAllowed()
{
    try {
        // The policy first: without one the sites are not even asked.
        const SiteLock lock = SiteLock::read();
        if (lock.absent())
            return true;
        const std::u16string url = pageUrl();
        return url.empty() || lock.allows(url);
    } catch (const std::bad_alloc&) {
        return false;  // a lock that opens when memory runs out is no lock
    }
}

void CKelCtrl::drawContent(HDC dc, const RECT& bounds)
{
    FillRect(dc, &bounds, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    Ellipse(dc, bounds.left, bounds.top, bounds.right, bounds.bottom);
}

HRESULT CKelCtrl::GetInterfaceSafetyOptions(REFIID iid, DWORD* supported, DWORD* enabled)
{
    if (!supported || !enabled)
        return E_POINTER;
    *supported = kSafeForScripting | kSafeForInitializing;
    *enabled = 0;
    if (!exposes(iid))
        return E_NOINTERFACE;
    if (IsEqualIID(iid, IID_IDispatch)) {
        *enabled = kSafeForScripting;
        return S_OK;
    }
    if (isPersistence(iid)) {
        *enabled = kSafeForInitializing;
        return S_OK;
    }
    return E_NOINTERFACE;
}

HRESULT CKelCtrl::SetInterfaceSafetyOptions(REFIID iid, DWORD mask, DWORD options)
{
    // Nothing is stored: the answers above never change.
    if (mask == 0 && options == 0)
        return S_OK;
    if (!exposes(iid))
        return E_FAIL;
    if (IsEqualIID(iid, IID_IDispatch))
        return mask == kSafeForScripting && options == kSafeForScripting && pageAllowed() ? S_OK : E_FAIL;
    if (isPersistence(iid))
        return mask == kSafeForInitializing && options == kSafeForInitializing ? S_OK : E_FAIL;
    return E_FAIL;
}

HRESULT CKelCtrl::SetSite(IUnknown* site)
{
    site_ = com::com_ptr<IUnknown>(site);
    return S_OK;
}

HRESULT CKelCtrl::GetSite(REFIID iid, void** site)
{
    if (!site)
        return E_POINTER;
    *site = nullptr;
    return site_ ? site_->QueryInterface(iid, site) : E_FAIL;
}

HRESULT CKelCtrl::Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* params, VARIANT* result,
                         EXCEPINFO* exception, UINT* argumentError)
{
    const bool reportMethod = id == KEL_DISPID_GETBRIEFINFO || id == KEL_DISPID_GETDETAILINFO;
    if (reportMethod && !pageAllowed())
        return E_ACCESSDENIED;
    return OleControl::Invoke(id, iid, locale, flags, params, result, exception, argumentError);
}

HRESULT CKelCtrl::registerClass() { return com::writeClassRows(kControlRegistration, KEL_RESOURCE_LANGUAGE); }

HRESULT CKelCtrl::unregisterClass() { return com::removeClassRows(kControlRegistration); }

}  // namespace kel
