#include "tests/control/InterfaceTables.h"

#include <objsafe.h>
#include <olectl.h>

namespace kel::test {

// QueryInterface refuses the null out-pointer, so no reference is taken;
// AddRef and Release follow each other and leave the count as it was.
const Method kUnknown[3] = {
    {"QueryInterface", 2, {iid(IID_IUnknown), kNull}, Expect::Refusal},
    {"AddRef", 0, {}, Expect::Count},
    {"Release", 0, {}, Expect::Count},
};

namespace {

const Method kDispatch[] = {
    {"GetTypeInfoCount", 1, {kNull}, Expect::Refusal},
    {"GetTypeInfo", 3, {word(0), word(0), kNull}, Expect::Refusal},
    {"GetIDsOfNames", 5, {iid(IID_NULL), kNull, word(1), word(0), kNull}, Expect::Refusal},
    {"Invoke",
     8,
     {word(KEL_DISPID_GETBRIEFINFO), iid(IID_NULL), word(0), word(DISPATCH_METHOD), kNull, kNull, kNull,
      kNull},
     Expect::Refusal},
};

const Method kOleObject[] = {
    {"SetClientSite", 1, {kNull}, Expect::Answer},
    {"GetClientSite", 1, {kNull}, Expect::Refusal},
    {"SetHostNames", 2, {kNull, kNull}, Expect::Answer},
    {"Close", 1, {word(kMinusOne)}, Expect::Answer},
    {"SetMoniker", 2, {word(OLEWHICHMK_OBJFULL), kNull}, Expect::Failure},
    {"GetMoniker", 3, {word(OLEGETMONIKER_ONLYIFTHERE), word(OLEWHICHMK_OBJFULL), kNull}, Expect::Failure},
    {"InitFromData", 3, {kNull, word(TRUE), word(0)}, Expect::Failure},
    {"GetClipboardData", 2, {word(0), kNull}, Expect::Failure},
    // The primary verb without any site to activate in.
    {"DoVerb", 6, {word(OLEIVERB_PRIMARY), kNull, kNull, word(0), kNull, kScratch}, Expect::Failure},
    {"EnumVerbs", 1, {kNull}, Expect::Refusal},
    {"Update", 0, {}, Expect::Answer},
    {"IsUpToDate", 0, {}, Expect::Answer},
    {"GetUserClassID", 1, {kNull}, Expect::Refusal},
    {"GetUserType", 2, {word(USERCLASSTYPE_FULL), kNull}, Expect::Refusal},
    {"SetExtent", 2, {word(DVASPECT_CONTENT), kNull}, Expect::Refusal},
    {"GetExtent", 2, {word(DVASPECT_CONTENT), kNull}, Expect::Refusal},
    {"Advise", 2, {kNull, kNull}, Expect::Refusal},
    {"Unadvise", 1, {word(0)}, Expect::Failure},
    {"EnumAdvise", 1, {kNull}, Expect::Refusal},
    {"GetMiscStatus", 2, {word(DVASPECT_CONTENT), kNull}, Expect::Refusal},
    {"SetColorScheme", 1, {kNull}, Expect::Failure},
};

const Method kOleWindow[] = {
    {"GetWindow", 1, {kNull}, Expect::Refusal},
    {"ContextSensitiveHelp", 1, {word(TRUE)}, Expect::Answer},
};

const Method kOleInPlaceObject[] = {
    {"InPlaceDeactivate", 0, {}, Expect::Answer},
    {"UIDeactivate", 0, {}, Expect::Answer},
    {"SetObjectRects", 2, {kNull, kNull}, Expect::Refusal},
    {"ReactivateAndUndo", 0, {}, Expect::Failure},
};

const Method kOleInPlaceObjectWindowless[] = {
    {"OnWindowMessage", 4, {word(WM_LBUTTONDOWN), word(kMinusOne), word(kMinusOne), kNull}, Expect::Answer},
    {"GetDropTarget", 1, {kNull}, Expect::Refusal},
};

const Method kOleInPlaceActiveObject[] = {
    {"TranslateAccelerator", 1, {kScratch}, Expect::Answer},
    {"OnFrameWindowActivate", 1, {word(TRUE)}, Expect::Answer},
    {"OnDocWindowActivate", 1, {word(TRUE)}, Expect::Answer},
    {"ResizeBorder", 3, {kScratch, kNull, word(TRUE)}, Expect::Answer},
    {"EnableModeless", 1, {word(FALSE)}, Expect::Answer},
};

const Method kOleControl[] = {
    {"GetControlInfo", 1, {kNull}, Expect::Refusal},
    {"OnMnemonic", 1, {kScratch}, Expect::Answer},
    {"OnAmbientPropertyChange", 1, {word(DISPID_UNKNOWN)}, Expect::Answer},
    {"FreezeEvents", 1, {word(FALSE)}, Expect::Answer},
};

const Method kViewObject[] = {
    // No device context to draw into.
    {"Draw",
     10,
     {word(DVASPECT_CONTENT), word(kMinusOne), kNull, kNull, kNull, kNull, kNull, kNull, kNull, word(0)},
     Expect::Refusal},
    {"GetColorSet",
     6,
     {word(DVASPECT_CONTENT), word(kMinusOne), kNull, kNull, kNull, kNull},
     Expect::Refusal},
    {"Freeze", 4, {word(DVASPECT_CONTENT), word(kMinusOne), kNull, kNull}, Expect::Failure},
    {"Unfreeze", 1, {word(0)}, Expect::Failure},
    {"SetAdvise", 3, {word(DVASPECT_CONTENT), word(0), kNull}, Expect::Answer},
    {"GetAdvise", 3, {kScratch, kScratch, kScratch}, Expect::Answer},
};

const Method kViewObject2[] = {
    {"GetExtent", 4, {word(DVASPECT_CONTENT), word(kMinusOne), kNull, kNull}, Expect::Refusal},
};

const Method kViewObjectEx[] = {
    {"GetRect", 2, {word(DVASPECT_CONTENT), kNull}, Expect::Refusal},
    {"GetViewStatus", 1, {kNull}, Expect::Refusal},
    // The POINT goes by value: two words.
    {"QueryHitPoint", 6, {word(DVASPECT_CONTENT), kNull, kPoint, word(0), kNull}, Expect::Refusal},
    {"QueryHitRect", 5, {word(DVASPECT_CONTENT), kNull, kNull, word(0), kNull}, Expect::Refusal},
    {"GetNaturalExtent",
     6,
     {word(DVASPECT_CONTENT), word(kMinusOne), kNull, kNull, kNull, kNull},
     Expect::Failure},
};

const Method kDataObject[] = {
    {"GetData", 2, {kNull, kNull}, Expect::Failure},
    {"GetDataHere", 2, {kNull, kNull}, Expect::Failure},
    {"QueryGetData", 1, {kNull}, Expect::Failure},
    {"GetCanonicalFormatEtc", 2, {kNull, kNull}, Expect::Refusal},
    {"SetData", 3, {kNull, kNull, word(TRUE)}, Expect::Failure},
    {"EnumFormatEtc", 2, {word(DATADIR_GET), kNull}, Expect::Refusal},
    {"DAdvise", 4, {kNull, word(0), kNull, kNull}, Expect::Failure},
    {"DUnadvise", 1, {word(0)}, Expect::Failure},
    {"EnumDAdvise", 1, {kNull}, Expect::Failure},
};

const Method kOleCache[] = {
    {"Cache", 3, {kNull, word(0), kNull}, Expect::Failure},
    {"Uncache", 1, {word(0)}, Expect::Failure},
    {"EnumCache", 1, {kNull}, Expect::Refusal},
    {"InitCache", 1, {kNull}, Expect::Failure},
    {"SetData", 3, {kNull, kNull, word(TRUE)}, Expect::Failure},
};

const Method kPersist[] = {
    {"GetClassID", 1, {kNull}, Expect::Refusal},
};

const Method kPersistStream[] = {
    {"IsDirty", 0, {}, Expect::Answer},
    {"Load", 1, {kNull}, Expect::Refusal},
    {"Save", 2, {kNull, word(TRUE)}, Expect::Refusal},
    {"GetSizeMax", 1, {kNull}, Expect::Refusal},
};

const Method kInitNew[] = {
    {"InitNew", 0, {}, Expect::Success},
};

const Method kPersistStorage[] = {
    {"IsDirty", 0, {}, Expect::Answer},
    {"InitNew", 1, {kNull}, Expect::Refusal},
    {"Load", 1, {kNull}, Expect::Refusal},
    {"Save", 2, {kNull, word(TRUE)}, Expect::Refusal},
    {"SaveCompleted", 1, {kNull}, Expect::Answer},
    {"HandsOffStorage", 0, {}, Expect::Answer},
};

const Method kPersistMemory[] = {
    {"IsDirty", 0, {}, Expect::Answer},
    {"Load", 2, {kNull, word(4096)}, Expect::Refusal},
    {"Save", 3, {kNull, word(TRUE), word(4096)}, Expect::Refusal},
    {"GetSizeMax", 1, {kNull}, Expect::Refusal},
    {"InitNew", 0, {}, Expect::Success},
};

const Method kPersistPropertyBag[] = {
    {"InitNew", 0, {}, Expect::Success},
    {"Load", 2, {kNull, kNull}, Expect::Refusal},
    {"Save", 3, {kNull, word(TRUE), word(TRUE)}, Expect::Refusal},
};

const Method kProvideClassInfo[] = {
    {"GetClassInfo", 1, {kNull}, Expect::Refusal},
};

const Method kProvideClassInfo2[] = {
    {"GetGUID", 2, {word(GUIDKIND_DEFAULT_SOURCE_DISP_IID), kNull}, Expect::Refusal},
};

const Method kConnectionPointContainer[] = {
    {"EnumConnectionPoints", 1, {kNull}, Expect::Refusal},
    {"FindConnectionPoint", 2, {iid(kEventsIid), kNull}, Expect::Refusal},
};

const Method kSpecifyPropertyPages[] = {
    {"GetPages", 1, {kNull}, Expect::Refusal},
};

const Method kPerPropertyBrowsing[] = {
    {"GetDisplayString", 2, {word(KEL_DISPID_GETBRIEFINFO), kNull}, Expect::Failure},
    {"MapPropertyToPage", 2, {word(KEL_DISPID_GETBRIEFINFO), kNull}, Expect::Refusal},
    {"GetPredefinedStrings", 3, {word(KEL_DISPID_GETBRIEFINFO), kNull, kNull}, Expect::Failure},
    {"GetPredefinedValue", 3, {word(KEL_DISPID_GETBRIEFINFO), word(0), kNull}, Expect::Failure},
};

// Zeroed structures: their sizes say they are too small.
const Method kQuickActivate[] = {
    {"QuickActivate", 2, {kScratch, kScratch}, Expect::Refusal},
    {"SetContentExtent", 1, {kNull}, Expect::Refusal},
    {"GetContentExtent", 1, {kNull}, Expect::Refusal},
};

const Method kObjectSafety[] = {
    {"GetInterfaceSafetyOptions", 3, {iid(IID_IDispatch), kNull, kNull}, Expect::Refusal},
    {"SetInterfaceSafetyOptions", 3, {iid(IID_IDispatch), word(kMinusOne), word(kMinusOne)}, Expect::Failure},
};

// No site to hand out, and none to give.
const Method kObjectWithSite[] = {
    {"SetSite", 1, {kNull}, Expect::Success},
    {"GetSite", 2, {iid(IID_IUnknown), kNull}, Expect::Refusal},
};

// The same four for every enumerator: an empty buffer, a huge skip, a
// clone into nowhere.
const Method kEnumerator[] = {
    {"Next", 3, {word(2), kNull, kNull}, Expect::Refusal},
    {"Skip", 1, {word(kMinusOne)}, Expect::Answer},
    {"Reset", 0, {}, Expect::Success},
    {"Clone", 1, {kNull}, Expect::Refusal},
};

const Method kConnectionPoint[] = {
    {"GetConnectionInterface", 1, {kNull}, Expect::Refusal},
    {"GetConnectionPointContainer", 1, {kNull}, Expect::Refusal},
    {"Advise", 2, {kNull, kNull}, Expect::Refusal},
    {"Unadvise", 1, {word(kMinusOne)}, Expect::Failure},
    {"EnumConnections", 1, {kNull}, Expect::Refusal},
};

// LockServer(TRUE) is undone by the test once the table is through.
const Method kClassFactory[] = {
    {"CreateInstance", 3, {kNull, iid(IID_IUnknown), kNull}, Expect::Refusal},
    {"LockServer", 1, {word(TRUE)}, Expect::Success},
};

const Method kPropertyPage[] = {
    {"SetPageSite", 1, {kNull}, Expect::Answer},
    {"Activate", 3, {kNull, kNull, word(TRUE)}, Expect::Refusal},
    {"Deactivate", 0, {}, Expect::Answer},
    {"GetPageInfo", 1, {kNull}, Expect::Refusal},
    {"SetObjects", 2, {word(1), kNull}, Expect::Refusal},
    {"Show", 1, {word(SW_SHOW)}, Expect::Failure},
    {"Move", 1, {kNull}, Expect::Refusal},
    {"IsPageDirty", 0, {}, Expect::Answer},
    {"Apply", 0, {}, Expect::Answer},
    {"Help", 1, {kNull}, Expect::Answer},
    {"TranslateAccelerator", 1, {kNull}, Expect::Refusal},
};

}  // namespace

const std::vector<Interface> kControlInterfaces = {
    {"IUnknown", &IID_IUnknown, {kUnknown}},
    {"IDispatch", &IID_IDispatch, {kUnknown, kDispatch}},
    {"_DKel", &kDispatchIid, {kUnknown, kDispatch}},
    {"IOleObject", &IID_IOleObject, {kUnknown, kOleObject}},
    {"IOleWindow", &IID_IOleWindow, {kUnknown, kOleWindow}},
    {"IOleInPlaceObject", &IID_IOleInPlaceObject, {kUnknown, kOleWindow, kOleInPlaceObject}},
    {"IOleInPlaceObjectWindowless",
     &IID_IOleInPlaceObjectWindowless,
     {kUnknown, kOleWindow, kOleInPlaceObject, kOleInPlaceObjectWindowless}},
    {"IOleInPlaceActiveObject",
     &IID_IOleInPlaceActiveObject,
     {kUnknown, kOleWindow, kOleInPlaceActiveObject}},
    {"IOleControl", &IID_IOleControl, {kUnknown, kOleControl}},
    {"IViewObject", &IID_IViewObject, {kUnknown, kViewObject}},
    {"IViewObject2", &IID_IViewObject2, {kUnknown, kViewObject, kViewObject2}},
    {"IViewObjectEx", &IID_IViewObjectEx, {kUnknown, kViewObject, kViewObject2, kViewObjectEx}},
    {"IDataObject", &IID_IDataObject, {kUnknown, kDataObject}},
    {"IOleCache", &IID_IOleCache, {kUnknown, kOleCache}},
    {"IPersist", &IID_IPersist, {kUnknown, kPersist}},
    {"IPersistStream", &IID_IPersistStream, {kUnknown, kPersist, kPersistStream}},
    {"IPersistStreamInit", &IID_IPersistStreamInit, {kUnknown, kPersist, kPersistStream, kInitNew}},
    {"IPersistStorage", &IID_IPersistStorage, {kUnknown, kPersist, kPersistStorage}},
    {"IPersistMemory", &IID_IPersistMemory, {kUnknown, kPersist, kPersistMemory}},
    {"IPersistPropertyBag", &IID_IPersistPropertyBag, {kUnknown, kPersist, kPersistPropertyBag}},
    {"IProvideClassInfo", &IID_IProvideClassInfo, {kUnknown, kProvideClassInfo}},
    {"IProvideClassInfo2", &IID_IProvideClassInfo2, {kUnknown, kProvideClassInfo, kProvideClassInfo2}},
    {"IConnectionPointContainer", &IID_IConnectionPointContainer, {kUnknown, kConnectionPointContainer}},
    {"ISpecifyPropertyPages", &IID_ISpecifyPropertyPages, {kUnknown, kSpecifyPropertyPages}},
    {"IPerPropertyBrowsing", &IID_IPerPropertyBrowsing, {kUnknown, kPerPropertyBrowsing}},
    {"IQuickActivate", &IID_IQuickActivate, {kUnknown, kQuickActivate}},
    {"IObjectSafety", &IID_IObjectSafety, {kUnknown, kObjectSafety}},
    {"IObjectWithSite", &IID_IObjectWithSite, {kUnknown, kObjectWithSite}},
};

const Interface kEnumOleVerbTable = {"IEnumOLEVERB", &IID_IEnumOLEVERB, {kUnknown, kEnumerator}};
const Interface kEnumConnectionPointsTable = {
    "IEnumConnectionPoints", &IID_IEnumConnectionPoints, {kUnknown, kEnumerator}};
const Interface kEnumConnectionsTable = {"IEnumConnections", &IID_IEnumConnections, {kUnknown, kEnumerator}};
const Interface kConnectionPointTable = {
    "IConnectionPoint", &IID_IConnectionPoint, {kUnknown, kConnectionPoint}};
const Interface kClassFactoryTable = {"IClassFactory", &IID_IClassFactory, {kUnknown, kClassFactory}};
const Interface kPropertyPageTable = {"IPropertyPage", &IID_IPropertyPage, {kUnknown, kPropertyPage}};

const Method kEntryPoints[4] = {
    {"DllGetClassObject", 3, {iid(kControlClsid), iid(IID_IClassFactory), kNull}, Expect::Refusal},
    {"DllCanUnloadNow", 0, {}, Expect::Answer},
    {"DllRegisterServer", 0, {}, Expect::Success},
    {"DllUnregisterServer", 0, {}, Expect::Success},
};

}  // namespace kel::test
