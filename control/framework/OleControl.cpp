#include "control/framework/OleControl.h"

#include "control/framework/Enumerator.h"
#include "control/framework/Resources.h"

#include <cstring>
#include <iterator>

namespace kel::com {

namespace {

// The one custom verb: opens the property pages. Its display name is the
// framework's standard text for the property verb.
constexpr LONG kPropertiesVerb = 1;
wchar_t kPropertiesVerbName[] = L"&Properties...";

// The storage stream the state lives in under IPersistStorage.
const wchar_t kContentsStream[] = L"Contents";

struct VerbCopy {
    static HRESULT copy(OLEVERB* to, const OLEVERB& from)
    {
        *to = from;
        const std::size_t bytes = (std::wcslen(from.lpszVerbName) + 1) * sizeof(wchar_t);
        to->lpszVerbName = static_cast<LPOLESTR>(CoTaskMemAlloc(bytes));
        if (!to->lpszVerbName)
            return E_OUTOFMEMORY;
        std::memcpy(to->lpszVerbName, from.lpszVerbName, bytes);
        return S_OK;
    }
    static void destroy(OLEVERB* item) { CoTaskMemFree(item->lpszVerbName); }
};
using VerbEnumerator = Enumerator<IEnumOLEVERB, OLEVERB, VerbCopy>;

struct PointCopy {
    static HRESULT copy(IConnectionPoint** to, IConnectionPoint* const& from)
    {
        *to = from;
        from->AddRef();
        return S_OK;
    }
    static void destroy(IConnectionPoint** item) { (*item)->Release(); }
};
using PointEnumerator = Enumerator<IEnumConnectionPoints, IConnectionPoint*, PointCopy>;

LPOLESTR taskMemCopy(const std::wstring& text)
{
    const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    auto* copy = static_cast<LPOLESTR>(CoTaskMemAlloc(bytes));
    if (copy)
        std::memcpy(copy, text.c_str(), bytes);
    return copy;
}

RECT toRect(const RECTL& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

// The interfaces every control answers, each by its most derived
// implementation, base interfaces included.
using Cast = IUnknown* (*)(OleControl*);
struct InterfaceEntry {
    const IID* iid;
    Cast cast;
};

template <class I>
IUnknown* as(OleControl* control)
{
    return static_cast<I*>(control);
}

const InterfaceEntry kInterfaces[] = {
    {&IID_IUnknown, as<IOleObject>},
    {&IID_IDispatch, as<IDispatch>},
    {&IID_IOleObject, as<IOleObject>},
    {&IID_IOleWindow, as<IOleInPlaceObjectWindowless>},
    {&IID_IOleInPlaceObject, as<IOleInPlaceObjectWindowless>},
    {&IID_IOleInPlaceObjectWindowless, as<IOleInPlaceObjectWindowless>},
    {&IID_IOleInPlaceActiveObject, as<IOleInPlaceActiveObject>},
    {&IID_IOleControl, as<IOleControl>},
    {&IID_IViewObject, as<IViewObjectEx>},
    {&IID_IViewObject2, as<IViewObjectEx>},
    {&IID_IViewObjectEx, as<IViewObjectEx>},
    {&IID_IDataObject, as<IDataObject>},
    {&IID_IOleCache, as<IOleCache>},
    {&IID_IPersist, as<IPersistStreamInit>},
    // IPersistStreamInit extends IPersistStream's table at its end, so
    // containers that only know the older interface get the same one.
    {&IID_IPersistStream, as<IPersistStreamInit>},
    {&IID_IPersistStreamInit, as<IPersistStreamInit>},
    {&IID_IPersistStorage, as<IPersistStorage>},
    {&IID_IPersistMemory, as<IPersistMemory>},
    {&IID_IPersistPropertyBag, as<IPersistPropertyBag>},
    {&IID_IProvideClassInfo, as<IProvideClassInfo2>},
    {&IID_IProvideClassInfo2, as<IProvideClassInfo2>},
    {&IID_IConnectionPointContainer, as<IConnectionPointContainer>},
    {&IID_ISpecifyPropertyPages, as<ISpecifyPropertyPages>},
    {&IID_IPerPropertyBrowsing, as<IPerPropertyBrowsing>},
    {&IID_IQuickActivate, as<IQuickActivate>},
    // Not offered, on purpose: IOleCache2 and IOleCacheControl (there is no
    // cache to update), IRunnableObject (an in-process control is always
    // running), IPointerInactive (nothing happens under the mouse).
};

}  // namespace

OleControl::OleControl(const ControlDescription& description)
    : description_(description), state_(description.stateVersion, description.defaultExtent),
      eventsPoint_(*this, *description.eventsIid), notifyPoint_(*this, IID_IPropertyNotifySink)
{
}

OleControl::~OleControl() { window_.destroy(); }

// --- IUnknown ---------------------------------------------------------------

IUnknown* OleControl::standardInterface(REFIID iid)
{
    for (const InterfaceEntry& entry : kInterfaces) {
        if (IsEqualIID(iid, *entry.iid))
            return entry.cast(this);
    }
    // The control's own dispatch interface is its IDispatch.
    if (IsEqualIID(iid, *description_.dispatchIid))
        return static_cast<IDispatch*>(this);
    return nullptr;
}

IUnknown* OleControl::extraInterface(REFIID) { return nullptr; }

bool OleControl::exposes(REFIID iid) { return standardInterface(iid) || extraInterface(iid); }

HRESULT OleControl::QueryInterface(REFIID iid, void** object)
{
    if (!object)
        return E_POINTER;
    *object = nullptr;
    IUnknown* found = standardInterface(iid);
    if (!found)
        found = extraInterface(iid);
    if (!found)
        return E_NOINTERFACE;
    found->AddRef();
    *object = found;
    return S_OK;
}

ULONG OleControl::AddRef() { return refs_.add(); }

ULONG OleControl::Release()
{
    const ULONG count = refs_.release();
    if (count == 0)
        delete this;
    return count;
}

// --- IDispatch --------------------------------------------------------------

HRESULT OleControl::GetTypeInfoCount(UINT* count)
{
    if (!count)
        return E_POINTER;
    *count = 1;
    return S_OK;
}

HRESULT OleControl::GetTypeInfo(UINT index, LCID locale, ITypeInfo** info)
{
    if (!info)
        return E_POINTER;
    *info = nullptr;
    if (index != 0)
        return DISP_E_BADINDEX;
    return description_.typeLibrary->typeInfo(*description_.dispatchIid, locale, info);
}

HRESULT OleControl::GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale, DISPID* ids)
{
    if (!IsEqualIID(iid, IID_NULL))
        return DISP_E_UNKNOWNINTERFACE;
    if (!names || !ids)
        return E_POINTER;
    com_ptr<ITypeInfo> info;
    const HRESULT hr = GetTypeInfo(0, locale, info.put());
    if (FAILED(hr))
        return hr;
    return info->GetIDsOfNames(names, count, ids);
}

HRESULT OleControl::Invoke(DISPID id, REFIID iid, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                           EXCEPINFO*, UINT*)
{
    if (!IsEqualIID(iid, IID_NULL))
        return DISP_E_UNKNOWNINTERFACE;
    const DispatchMethod* method = nullptr;
    for (std::size_t i = 0; i < description_.methodCount; ++i) {
        if (description_.methods[i].id == id)
            method = &description_.methods[i];
    }
    // Every member is a method: a property get alone or any put has no
    // member to reach. Script engines call methods as METHOD|PROPERTYGET.
    if (!method || !(flags & DISPATCH_METHOD) || (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)))
        return DISP_E_MEMBERNOTFOUND;
    if (!params)
        return E_POINTER;
    if (params->cNamedArgs != 0)
        return DISP_E_NONAMEDARGS;
    if (params->cArgs != 0)
        return DISP_E_BADPARAMCOUNT;
    VARIANT value;
    VariantInit(&value);
    const HRESULT hr = method->call(&value);
    if (FAILED(hr))
        return hr;
    // A caller that ignores the result still gets the call made.
    if (result)
        *result = value;
    else
        VariantClear(&value);
    return S_OK;
}

// --- IOleObject -------------------------------------------------------------

HRESULT OleControl::SetClientSite(IOleClientSite* site)
{
    clientSite_ = com_ptr<IOleClientSite>(site);
    return S_OK;
}

HRESULT OleControl::GetClientSite(IOleClientSite** site)
{
    if (!site)
        return E_POINTER;
    clientSite_.copyTo(site);
    return S_OK;
}

HRESULT OleControl::SetHostNames(LPCOLESTR, LPCOLESTR) { return S_OK; }

HRESULT OleControl::Close(DWORD saveOption)
{
    InPlaceDeactivate();
    if (dirty_ && clientSite_ && (saveOption == OLECLOSE_SAVEIFDIRTY || saveOption == OLECLOSE_PROMPTSAVE))
        clientSite_->SaveObject();
    if (adviseHolder_)
        adviseHolder_->SendOnClose();
    return S_OK;
}

HRESULT OleControl::SetMoniker(DWORD, IMoniker*) { return E_NOTIMPL; }

HRESULT OleControl::GetMoniker(DWORD, DWORD, IMoniker** moniker)
{
    if (moniker)
        *moniker = nullptr;
    return E_NOTIMPL;
}

HRESULT OleControl::InitFromData(IDataObject*, BOOL, DWORD) { return E_NOTIMPL; }

HRESULT OleControl::GetClipboardData(DWORD, IDataObject** data)
{
    if (data)
        *data = nullptr;
    return E_NOTIMPL;
}

HRESULT OleControl::DoVerb(LONG verb, LPMSG, IOleClientSite* site, LONG, HWND parent, LPCRECT position)
{
    if (position)
        position_ = *position;
    switch (verb) {
    case OLEIVERB_PRIMARY:
    case OLEIVERB_SHOW:
    case OLEIVERB_UIACTIVATE:
        return activateInPlace(site, true);
    case OLEIVERB_INPLACEACTIVATE:
        return activateInPlace(site, false);
    case OLEIVERB_HIDE:
        UIDeactivate();
        window_.show(false);
        return S_OK;
    case OLEIVERB_DISCARDUNDOSTATE:
        return S_OK;
    case OLEIVERB_PROPERTIES:
    case kPropertiesVerb:
        return showPropertyPages(parent);
    default:
        break;
    }
    if (verb < 0)
        return E_NOTIMPL;  // OLEIVERB_OPEN among them: no separate window
    // A verb we do not know is taken as the primary one.
    const HRESULT hr = activateInPlace(site, true);
    return FAILED(hr) ? hr : OLEOBJ_S_INVALIDVERB;
}

HRESULT OleControl::EnumVerbs(IEnumOLEVERB** verbs)
{
    const OLEVERB list[] = {
        {kPropertiesVerb, kPropertiesVerbName, MF_ENABLED | MF_STRING, OLEVERBATTRIB_ONCONTAINERMENU},
    };
    return VerbEnumerator::create(list, std::size(list), verbs);
}

HRESULT OleControl::Update() { return S_OK; }

HRESULT OleControl::IsUpToDate() { return S_OK; }

HRESULT OleControl::GetUserClassID(CLSID* clsid) { return GetClassID(clsid); }

std::wstring OleControl::userTypeName()
{
    try {
        std::wstring name = loadResourceString(description_.typeNameId, description_.resourceLanguage);
        return name;
    } catch (const std::bad_alloc&) {
        return std::wstring();
    }
}

HRESULT OleControl::GetUserType(DWORD, LPOLESTR* name)
{
    if (!name)
        return E_POINTER;
    *name = nullptr;
    const std::wstring text = userTypeName();
    if (text.empty())
        return OLE_S_USEREG;  // the registry has the same name
    *name = taskMemCopy(text);
    return *name ? S_OK : E_OUTOFMEMORY;
}

HRESULT OleControl::SetExtent(DWORD aspect, SIZEL* size)
{
    if (!size)
        return E_POINTER;
    if (aspect != DVASPECT_CONTENT)
        return DV_E_DVASPECT;
    if (size->cx < 0 || size->cy < 0)
        return E_INVALIDARG;
    const SIZEL old = state_.extent();
    if (old.cx != size->cx || old.cy != size->cy) {
        state_.setExtent(*size);
        markDirty();
    }
    return S_OK;
}

HRESULT OleControl::GetExtent(DWORD aspect, SIZEL* size)
{
    if (!size)
        return E_POINTER;
    if (aspect != DVASPECT_CONTENT)
        return DV_E_DVASPECT;
    *size = state_.extent();
    return S_OK;
}

HRESULT OleControl::Advise(IAdviseSink* sink, DWORD* connection)
{
    if (!connection)
        return E_POINTER;
    *connection = 0;
    if (!adviseHolder_) {
        const HRESULT hr = CreateOleAdviseHolder(adviseHolder_.put());
        if (FAILED(hr))
            return hr;
    }
    return adviseHolder_->Advise(sink, connection);
}

HRESULT OleControl::Unadvise(DWORD connection)
{
    if (!adviseHolder_)
        return OLE_E_NOCONNECTION;
    return adviseHolder_->Unadvise(connection);
}

HRESULT OleControl::EnumAdvise(IEnumSTATDATA** advises)
{
    if (!advises)
        return E_POINTER;
    *advises = nullptr;
    if (!adviseHolder_)
        return S_OK;  // no connections: no enumerator
    return adviseHolder_->EnumAdvise(advises);
}

HRESULT OleControl::GetMiscStatus(DWORD aspect, DWORD* status)
{
    if (!status)
        return E_POINTER;
    *status = aspect == DVASPECT_CONTENT ? description_.miscStatus : 0;
    return S_OK;
}

HRESULT OleControl::SetColorScheme(LOGPALETTE*) { return E_NOTIMPL; }

// --- In-place activation ----------------------------------------------------

HRESULT OleControl::enterInPlace(IOleClientSite* site)
{
    com_ptr<IOleInPlaceSiteWindowless> windowlessSite;
    com_ptr<IOleInPlaceSite> inPlaceSite;
    site->QueryInterface(IID_IOleInPlaceSiteWindowless, windowlessSite.put_void());
    HRESULT hr = site->QueryInterface(IID_IOleInPlaceSite, inPlaceSite.put_void());
    if (FAILED(hr))
        return hr;
    if (inPlaceSite->CanInPlaceActivate() != S_OK)
        return E_FAIL;
    // Windowless when the site offers it: no window of our own to manage.
    windowless_ = windowlessSite && windowlessSite->CanWindowlessActivate() == S_OK;
    BOOL noRedraw = FALSE;
    hr = windowlessSite
             ? windowlessSite->OnInPlaceActivateEx(&noRedraw, windowless_ ? ACTIVATE_WINDOWLESS : 0)
             : inPlaceSite->OnInPlaceActivate();
    if (FAILED(hr))
        return hr;
    inPlaceSite_ = inPlaceSite;

    HWND parent = nullptr;
    inPlaceSite_->GetWindow(&parent);
    RECT position = position_;
    RECT clip = {};
    OLEINPLACEFRAMEINFO frameInfo = {};
    frameInfo.cb = sizeof frameInfo;
    if (SUCCEEDED(
            inPlaceSite_->GetWindowContext(frame_.put(), document_.put(), &position, &clip, &frameInfo)))
        position_ = position;
    if (!windowless_ && !window_.create(parent, position_, static_cast<IViewObjectEx*>(this))) {
        InPlaceDeactivate();
        return E_FAIL;
    }
    return S_OK;
}

HRESULT OleControl::activateInPlace(IOleClientSite* site, bool uiActivate)
{
    if (!site)
        site = clientSite_.get();
    if (!site)
        return E_UNEXPECTED;
    if (!inPlaceSite_) {
        const HRESULT hr = enterInPlace(site);
        if (FAILED(hr))
            return hr;
    }
    window_.show(true);
    if (uiActivate && !uiActive_) {
        uiActive_ = true;
        inPlaceSite_->OnUIActivate();
        const std::wstring name = userTypeName();
        if (frame_) {
            frame_->SetActiveObject(this, name.c_str());
            frame_->SetBorderSpace(nullptr);
        }
        if (document_) {
            document_->SetActiveObject(this, name.c_str());
            document_->SetBorderSpace(nullptr);
        }
        if (window_.handle())
            SetFocus(window_.handle());
    }
    return S_OK;
}

HRESULT OleControl::GetWindow(HWND* window)
{
    if (!window)
        return E_POINTER;
    *window = window_.handle();
    return *window ? S_OK : E_FAIL;  // windowless or not active
}

HRESULT OleControl::ContextSensitiveHelp(BOOL) { return E_NOTIMPL; }

HRESULT OleControl::InPlaceDeactivate()
{
    if (!inPlaceSite_)
        return S_OK;
    UIDeactivate();
    window_.destroy();
    com_ptr<IOleInPlaceSite> site = inPlaceSite_;
    inPlaceSite_.reset();
    frame_.reset();
    document_.reset();
    site->OnInPlaceDeactivate();
    return S_OK;
}

HRESULT OleControl::UIDeactivate()
{
    if (!uiActive_)
        return S_OK;
    uiActive_ = false;
    if (frame_)
        frame_->SetActiveObject(nullptr, nullptr);
    if (document_)
        document_->SetActiveObject(nullptr, nullptr);
    if (inPlaceSite_)
        inPlaceSite_->OnUIDeactivate(FALSE);
    return S_OK;
}

HRESULT OleControl::SetObjectRects(LPCRECT position, LPCRECT)
{
    if (!position)
        return E_POINTER;
    position_ = *position;
    window_.move(position_);
    return S_OK;
}

HRESULT OleControl::ReactivateAndUndo() { return INPLACE_E_NOTUNDOABLE; }

HRESULT OleControl::OnWindowMessage(UINT, WPARAM, LPARAM, LRESULT* result)
{
    if (result)
        *result = 0;
    return S_FALSE;  // no input handled: the container does the default
}

HRESULT OleControl::GetDropTarget(IDropTarget** target)
{
    if (!target)
        return E_POINTER;
    *target = nullptr;
    return E_NOTIMPL;
}

// --- IOleInPlaceActiveObject ------------------------------------------------

HRESULT OleControl::TranslateAccelerator(LPMSG) { return S_FALSE; }

HRESULT OleControl::OnFrameWindowActivate(BOOL) { return S_OK; }

HRESULT OleControl::OnDocWindowActivate(BOOL) { return S_OK; }

HRESULT OleControl::ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) { return S_OK; }

HRESULT OleControl::EnableModeless(BOOL) { return S_OK; }

// --- IOleControl ------------------------------------------------------------

HRESULT OleControl::GetControlInfo(CONTROLINFO* info)
{
    if (!info)
        return E_POINTER;
    if (info->cb < sizeof(CONTROLINFO))
        return E_INVALIDARG;
    info->hAccel = nullptr;  // no mnemonics
    info->cAccel = 0;
    info->dwFlags = 0;
    return S_OK;
}

HRESULT OleControl::OnMnemonic(MSG*) { return E_NOTIMPL; }

HRESULT OleControl::OnAmbientPropertyChange(DISPID) { return S_OK; }

HRESULT OleControl::FreezeEvents(BOOL) { return S_OK; }  // no events are ever fired

// --- IViewObjectEx ----------------------------------------------------------

HRESULT OleControl::Draw(DWORD aspect, LONG index, void*, DVTARGETDEVICE*, HDC, HDC dc, LPCRECTL bounds,
                         LPCRECTL, BOOL(STDMETHODCALLTYPE*)(ULONG_PTR), ULONG_PTR)
{
    if (aspect != DVASPECT_CONTENT)
        return DV_E_DVASPECT;
    if (index != -1)
        return DV_E_LINDEX;
    if (!dc)
        return E_INVALIDARG;
    // A windowless control active in place is drawn at its position.
    RECT area;
    if (bounds)
        area = toRect(*bounds);
    else if (windowless_ && inPlaceSite_)
        area = position_;
    else
        return E_INVALIDARG;
    drawContent(dc, area);
    return S_OK;
}

HRESULT OleControl::GetColorSet(DWORD, LONG, void*, DVTARGETDEVICE*, HDC, LOGPALETTE** colors)
{
    if (!colors)
        return E_POINTER;
    *colors = nullptr;
    return S_FALSE;  // no particular palette
}

HRESULT OleControl::Freeze(DWORD, LONG, void*, DWORD* freeze)
{
    if (freeze)
        *freeze = 0;
    return E_NOTIMPL;  // the drawing is always live
}

HRESULT OleControl::Unfreeze(DWORD) { return OLE_E_NOCONNECTION; }

HRESULT OleControl::SetAdvise(DWORD aspects, DWORD flags, IAdviseSink* sink)
{
    viewSink_ = com_ptr<IAdviseSink>(sink);
    viewSinkAspects_ = aspects;
    viewSinkFlags_ = flags;
    return S_OK;
}

HRESULT OleControl::GetAdvise(DWORD* aspects, DWORD* flags, IAdviseSink** sink)
{
    if (aspects)
        *aspects = viewSinkAspects_;
    if (flags)
        *flags = viewSinkFlags_;
    if (sink)
        viewSink_.copyTo(sink);
    return S_OK;
}

HRESULT OleControl::GetExtent(DWORD aspect, LONG, DVTARGETDEVICE*, LPSIZEL size)
{
    return GetExtent(aspect, size);
}

HRESULT OleControl::GetRect(DWORD aspect, LPRECTL rect)
{
    if (!rect)
        return E_POINTER;
    if (aspect != DVASPECT_CONTENT)
        return DV_E_DVASPECT;
    const SIZEL extent = state_.extent();
    *rect = RECTL{0, 0, extent.cx, extent.cy};
    return S_OK;
}

HRESULT OleControl::GetViewStatus(DWORD* status)
{
    if (!status)
        return E_POINTER;
    // The drawing fills its whole rectangle with one colour.
    *status = VIEWSTATUS_OPAQUE | VIEWSTATUS_SOLIDBKGND;
    return S_OK;
}

HRESULT OleControl::QueryHitPoint(DWORD aspect, LPCRECT bounds, POINT location, LONG, DWORD* hitResult)
{
    if (!bounds || !hitResult)
        return E_POINTER;
    if (aspect != DVASPECT_CONTENT)
        return DV_E_DVASPECT;
    *hitResult = PtInRect(bounds, location) ? HITRESULT_HIT : HITRESULT_OUTSIDE;
    return S_OK;
}

HRESULT OleControl::QueryHitRect(DWORD aspect, LPCRECT bounds, LPCRECT location, LONG, DWORD* hitResult)
{
    if (!bounds || !location || !hitResult)
        return E_POINTER;
    if (aspect != DVASPECT_CONTENT)
        return DV_E_DVASPECT;
    RECT overlap;
    *hitResult = IntersectRect(&overlap, bounds, location) ? HITRESULT_HIT : HITRESULT_OUTSIDE;
    return S_OK;
}

HRESULT OleControl::GetNaturalExtent(DWORD, LONG, DVTARGETDEVICE*, HDC, DVEXTENTINFO*, LPSIZEL)
{
    return E_NOTIMPL;  // any size is natural: the drawing scales
}

// --- IDataObject and IOleCache ----------------------------------------------

HRESULT OleControl::GetData(FORMATETC*, STGMEDIUM*) { return DV_E_FORMATETC; }

HRESULT OleControl::GetDataHere(FORMATETC*, STGMEDIUM*) { return DV_E_FORMATETC; }

HRESULT OleControl::QueryGetData(FORMATETC*) { return DV_E_FORMATETC; }

HRESULT OleControl::GetCanonicalFormatEtc(FORMATETC* in, FORMATETC* out)
{
    if (!in || !out)
        return E_POINTER;
    *out = *in;
    out->ptd = nullptr;
    return DATA_S_SAMEFORMATETC;
}

HRESULT OleControl::SetData(FORMATETC*, STGMEDIUM*, BOOL) { return E_NOTIMPL; }

HRESULT OleControl::EnumFormatEtc(DWORD, IEnumFORMATETC** formats)
{
    if (!formats)
        return E_POINTER;
    *formats = nullptr;
    return OLE_S_USEREG;  // the registry lists what the class offers: nothing
}

HRESULT OleControl::DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD* connection)
{
    if (connection)
        *connection = 0;
    return OLE_E_ADVISENOTSUPPORTED;
}

HRESULT OleControl::DUnadvise(DWORD) { return OLE_E_ADVISENOTSUPPORTED; }

HRESULT OleControl::EnumDAdvise(IEnumSTATDATA** advises)
{
    if (advises)
        *advises = nullptr;
    return OLE_E_ADVISENOTSUPPORTED;
}

HRESULT OleControl::Cache(FORMATETC*, DWORD, DWORD* connection)
{
    if (connection)
        *connection = 0;
    return E_NOTIMPL;
}

HRESULT OleControl::Uncache(DWORD) { return OLE_E_NOCONNECTION; }

HRESULT OleControl::EnumCache(IEnumSTATDATA** caches)
{
    if (!caches)
        return E_POINTER;
    *caches = nullptr;
    return S_OK;  // no cache connections
}

HRESULT OleControl::InitCache(IDataObject*) { return CACHE_E_NOCACHE_UPDATED; }

// --- Persistence ------------------------------------------------------------

void OleControl::markDirty() { dirty_ = true; }

HRESULT OleControl::GetClassID(CLSID* clsid)
{
    if (!clsid)
        return E_POINTER;
    *clsid = *description_.clsid;
    return S_OK;
}

HRESULT OleControl::IsDirty() { return dirty_ ? S_OK : S_FALSE; }

HRESULT OleControl::InitNew()
{
    state_.reset();
    dirty_ = false;
    return S_OK;
}

HRESULT OleControl::Load(IStream* stream)
{
    dirty_ = false;
    return state_.load(stream);
}

HRESULT OleControl::Save(IStream* stream, BOOL clearDirty)
{
    const HRESULT hr = state_.save(stream);
    if (SUCCEEDED(hr) && clearDirty)
        dirty_ = false;
    return hr;
}

HRESULT OleControl::GetSizeMax(ULARGE_INTEGER* size)
{
    if (!size)
        return E_POINTER;
    size->QuadPart = PersistedState::kStreamSize;
    return S_OK;
}

HRESULT OleControl::InitNew(IStorage* storage)
{
    if (!storage)
        return E_POINTER;
    return InitNew();
}

HRESULT OleControl::Load(IStorage* storage)
{
    if (!storage)
        return E_POINTER;
    com_ptr<IStream> stream;
    const HRESULT hr =
        storage->OpenStream(kContentsStream, nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, 0, stream.put());
    if (FAILED(hr)) {
        state_.reset();
        return hr;
    }
    return Load(stream.get());
}

HRESULT OleControl::Save(IStorage* storage, BOOL)
{
    if (!storage)
        return E_POINTER;
    HRESULT hr = WriteClassStg(storage, *description_.clsid);
    if (FAILED(hr))
        return hr;
    com_ptr<IStream> stream;
    hr = storage->CreateStream(kContentsStream, STGM_CREATE | STGM_WRITE | STGM_SHARE_EXCLUSIVE, 0, 0,
                               stream.put());
    if (FAILED(hr))
        return hr;
    return Save(stream.get(), TRUE);
}

HRESULT OleControl::SaveCompleted(IStorage*) { return S_OK; }

HRESULT OleControl::HandsOffStorage() { return S_OK; }

HRESULT OleControl::Load(LPVOID memory, ULONG size)
{
    if (!memory)
        return E_POINTER;
    dirty_ = false;
    return state_.fromBytes(static_cast<const BYTE*>(memory), size);
}

HRESULT OleControl::Save(LPVOID memory, BOOL clearDirty, ULONG size)
{
    if (!memory)
        return E_POINTER;
    if (size < PersistedState::kStreamSize)
        return STG_E_MEDIUMFULL;
    BYTE bytes[PersistedState::kStreamSize];
    state_.toBytes(bytes);
    std::memcpy(memory, bytes, sizeof bytes);
    if (clearDirty)
        dirty_ = false;
    return S_OK;
}

HRESULT OleControl::GetSizeMax(ULONG* size)
{
    if (!size)
        return E_POINTER;
    *size = PersistedState::kStreamSize;
    return S_OK;
}

HRESULT OleControl::Load(IPropertyBag* bag, IErrorLog* log)
{
    dirty_ = false;
    return state_.load(bag, log);
}

HRESULT OleControl::Save(IPropertyBag* bag, BOOL clearDirty, BOOL)
{
    const HRESULT hr = state_.save(bag);
    if (SUCCEEDED(hr) && clearDirty)
        dirty_ = false;
    return hr;
}

// --- Class info, connection points, property pages --------------------------

HRESULT OleControl::GetClassInfo(ITypeInfo** info)
{
    return description_.typeLibrary->typeInfo(*description_.clsid, LOCALE_SYSTEM_DEFAULT, info);
}

HRESULT OleControl::GetGUID(DWORD kind, GUID* guid)
{
    if (!guid)
        return E_POINTER;
    if (kind != GUIDKIND_DEFAULT_SOURCE_DISP_IID) {
        *guid = GUID_NULL;
        return E_INVALIDARG;
    }
    *guid = *description_.eventsIid;
    return S_OK;
}

HRESULT OleControl::EnumConnectionPoints(IEnumConnectionPoints** points)
{
    IConnectionPoint* const list[] = {&eventsPoint_, &notifyPoint_};
    return PointEnumerator::create(list, std::size(list), points);
}

HRESULT OleControl::FindConnectionPoint(REFIID iid, IConnectionPoint** point)
{
    if (!point)
        return E_POINTER;
    *point = nullptr;
    for (ConnectionPoint* candidate : {&eventsPoint_, &notifyPoint_}) {
        if (IsEqualIID(iid, candidate->iid())) {
            *point = candidate;
            candidate->AddRef();
            return S_OK;
        }
    }
    return CONNECT_E_NOCONNECTION;
}

HRESULT OleControl::GetPages(CAUUID* pages)
{
    if (!pages)
        return E_POINTER;
    pages->cElems = 0;
    pages->pElems = nullptr;
    const std::size_t count = description_.propertyPageCount;
    if (count == 0)
        return S_OK;
    pages->pElems = static_cast<GUID*>(CoTaskMemAlloc(count * sizeof(GUID)));
    if (!pages->pElems)
        return E_OUTOFMEMORY;
    for (std::size_t i = 0; i < count; ++i)
        pages->pElems[i] = *description_.propertyPages[i];
    pages->cElems = static_cast<ULONG>(count);
    return S_OK;
}

LCID OleControl::ambientLocale()
{
    com_ptr<IDispatch> ambient;
    if (!clientSite_ || FAILED(clientSite_.queryInterface(IID_IDispatch, &ambient)))
        return GetUserDefaultLCID();
    DISPPARAMS none = {};
    VARIANT value;
    VariantInit(&value);
    LCID locale = GetUserDefaultLCID();
    if (SUCCEEDED(ambient->Invoke(DISPID_AMBIENT_LOCALEID, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, &value,
                                  nullptr, nullptr)) &&
        SUCCEEDED(VariantChangeType(&value, &value, 0, VT_I4)))
        locale = static_cast<LCID>(V_I4(&value));
    VariantClear(&value);
    return locale;
}

HRESULT OleControl::showPropertyPages(HWND parent)
{
    // The container's own property frame first, when it has one.
    com_ptr<IOleControlSite> controlSite;
    if (clientSite_ && SUCCEEDED(clientSite_.queryInterface(IID_IOleControlSite, &controlSite)) &&
        controlSite->ShowPropertyFrame() == S_OK)
        return S_OK;

    HWND owner = parent;
    if (!owner && inPlaceSite_)
        inPlaceSite_->GetWindow(&owner);
    POINT corner = {position_.left, position_.top};
    if (owner)
        ClientToScreen(owner, &corner);
    CAUUID pages = {};
    HRESULT hr = GetPages(&pages);
    if (FAILED(hr))
        return hr;
    const std::wstring caption = userTypeName();
    IUnknown* self = static_cast<IOleObject*>(this);
    hr = OleCreatePropertyFrame(owner, corner.x, corner.y, caption.c_str(), 1, &self, pages.cElems,
                                pages.pElems, ambientLocale(), 0, nullptr);
    CoTaskMemFree(pages.pElems);
    return hr;
}

HRESULT OleControl::GetDisplayString(DISPID, BSTR* text)
{
    if (text)
        *text = nullptr;
    return E_NOTIMPL;  // no properties, so no display strings
}

HRESULT OleControl::MapPropertyToPage(DISPID, CLSID* page)
{
    if (!page)
        return E_POINTER;
    *page = CLSID_NULL;
    return PERPROP_E_NOPAGEAVAILABLE;
}

HRESULT OleControl::GetPredefinedStrings(DISPID, CALPOLESTR* strings, CADWORD* cookies)
{
    if (strings) {
        strings->cElems = 0;
        strings->pElems = nullptr;
    }
    if (cookies) {
        cookies->cElems = 0;
        cookies->pElems = nullptr;
    }
    return E_NOTIMPL;
}

HRESULT OleControl::GetPredefinedValue(DISPID, DWORD, VARIANT* value)
{
    if (value)
        VariantInit(value);
    return E_NOTIMPL;
}

// --- IQuickActivate ---------------------------------------------------------

HRESULT OleControl::QuickActivate(QACONTAINER* container, QACONTROL* control)
{
    if (!container || !control)
        return E_POINTER;
    // Older containers pass the structures without their last members.
    if (container->cbSize < offsetof(QACONTAINER, pUnkEventSink) + sizeof(IUnknown*) ||
        control->cbSize < offsetof(QACONTROL, dwPropNotifyCookie) + sizeof(DWORD))
        return E_INVALIDARG;
    SetClientSite(container->pClientSite);
    if (container->pAdviseSink)
        SetAdvise(DVASPECT_CONTENT, 0, container->pAdviseSink);
    control->dwMiscStatus = description_.miscStatus;
    GetViewStatus(&control->dwViewStatus);
    control->dwEventCookie = 0;
    control->dwPropNotifyCookie = 0;
    if (container->pUnkEventSink)
        eventsPoint_.Advise(container->pUnkEventSink, &control->dwEventCookie);
    if (container->pPropertyNotifySink)
        notifyPoint_.Advise(container->pPropertyNotifySink, &control->dwPropNotifyCookie);
    if (control->cbSize >= sizeof(QACONTROL))
        control->dwPointerActivationPolicy = 0;
    return S_OK;
}

HRESULT OleControl::SetContentExtent(LPSIZEL size) { return SetExtent(DVASPECT_CONTENT, size); }

HRESULT OleControl::GetContentExtent(LPSIZEL size) { return GetExtent(DVASPECT_CONTENT, size); }

}  // namespace kel::com
