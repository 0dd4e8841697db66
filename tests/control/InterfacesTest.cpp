// The control answers every interface a container asks for, as one object,
// and the interfaces with nothing to do answer with the proper OLE codes.
#include "tests/control/ControlSupport.h"
#include "tests/control/InterfaceTables.h"

#include <objsafe.h>
#include <olectl.h>

namespace kel::test {
namespace {

TEST(Interfaces, EveryListedInterfaceAnswersWithOneIdentity)
{
    com_ptr<IUnknown> control = createControl<IUnknown>(IID_IUnknown);
    ASSERT_TRUE(control);
    for (const Interface& entry : kControlInterfaces) {
        com_ptr<IUnknown> answer;
        EXPECT_HR(S_OK, control->QueryInterface(*entry.iid, answer.put_void())) << entry.name;
        ASSERT_TRUE(answer) << entry.name;
        com_ptr<IUnknown> identity;
        EXPECT_HR(S_OK, answer->QueryInterface(IID_IUnknown, identity.put_void())) << entry.name;
        EXPECT_EQ(control.get(), identity.get()) << entry.name << " has another identity";
    }
    releaseLast(control);
}

TEST(Interfaces, OthersAreRefusedAndTheOutPointerCleared)
{
    com_ptr<IUnknown> control = createControl<IUnknown>(IID_IUnknown);
    for (const IID* iid :
         {&IID_IClassFactory, &IID_IOleCache2, &IID_IRunnableObject, &IID_IPointerInactive, &IID_IOleLink}) {
        void* sentinel = reinterpret_cast<void*>(0x1234);
        EXPECT_HR(E_NOINTERFACE, control->QueryInterface(*iid, &sentinel));
        EXPECT_EQ(nullptr, sentinel);
    }
    EXPECT_HR(E_POINTER, control->QueryInterface(IID_IUnknown, nullptr));
    releaseLast(control);
}

TEST(Interfaces, FactoryRefusesAggregationAndUnknownClasses)
{
    com_ptr<IUnknown> object;
    IUnknown* outer = reinterpret_cast<IUnknown*>(0x1);
    using GetClassObject = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
    auto get = reinterpret_cast<GetClassObject>(
        reinterpret_cast<void*>(GetProcAddress(kelModule(), "DllGetClassObject")));
    ASSERT_NE(nullptr, get);
    com_ptr<IClassFactory> factory;
    ASSERT_HR(S_OK, get(kControlClsid, IID_IClassFactory, factory.put_void()));
    EXPECT_HR(CLASS_E_NOAGGREGATION, factory->CreateInstance(outer, IID_IUnknown, object.put_void()));
    EXPECT_FALSE(object);
    EXPECT_HR(CLASS_E_CLASSNOTAVAILABLE, get(IID_IUnknown, IID_IClassFactory, object.put_void()));
    releaseLast(factory);
}

TEST(Interfaces, ModuleStaysLoadedWhileAnObjectLives)
{
    using CanUnload = HRESULT(STDAPICALLTYPE*)();
    auto canUnload =
        reinterpret_cast<CanUnload>(reinterpret_cast<void*>(GetProcAddress(kelModule(), "DllCanUnloadNow")));
    ASSERT_NE(nullptr, canUnload);
    com_ptr<IUnknown> control = createControl<IUnknown>(IID_IUnknown);
    EXPECT_HR(S_FALSE, canUnload());
    releaseLast(control);
    EXPECT_HR(S_OK, canUnload());
}

TEST(OleObject, StatusTypeExtentAndSite)
{
    com_ptr<IOleObject> object = createControl<IOleObject>(IID_IOleObject);
    DWORD status = 0;
    EXPECT_HR(S_OK, object->GetMiscStatus(DVASPECT_CONTENT, &status));
    EXPECT_EQ(0x00020091u, status);
    EXPECT_EQ(131217u, status);

    LPOLESTR name = nullptr;
    EXPECT_HR(S_OK, object->GetUserType(USERCLASSTYPE_FULL, &name));
    ASSERT_NE(nullptr, name);
    EXPECT_STREQ(L"Kel Control", name);
    CoTaskMemFree(name);

    CLSID clsid = CLSID_NULL;
    EXPECT_HR(S_OK, object->GetUserClassID(&clsid));
    EXPECT_TRUE(IsEqualCLSID(kControlClsid, clsid));

    SIZEL extent = {};
    EXPECT_HR(S_OK, object->GetExtent(DVASPECT_CONTENT, &extent));
    EXPECT_EQ(2646, extent.cx);
    EXPECT_EQ(1323, extent.cy);
    SIZEL wanted = {5000, 2500};
    EXPECT_HR(S_OK, object->SetExtent(DVASPECT_CONTENT, &wanted));
    EXPECT_HR(S_OK, object->GetExtent(DVASPECT_CONTENT, &extent));
    EXPECT_EQ(5000, extent.cx);
    EXPECT_EQ(2500, extent.cy);
    EXPECT_HR(DV_E_DVASPECT, object->GetExtent(DVASPECT_ICON, &extent));

    IOleClientSite* site = reinterpret_cast<IOleClientSite*>(0x1);
    EXPECT_HR(S_OK, object->GetClientSite(&site));
    EXPECT_EQ(nullptr, site);
    releaseLast(object);
}

TEST(OleObject, VerbsListThePropertyVerb)
{
    com_ptr<IOleObject> object = createControl<IOleObject>(IID_IOleObject);
    com_ptr<IEnumOLEVERB> verbs;
    ASSERT_HR(S_OK, object->EnumVerbs(verbs.put()));
    OLEVERB verb = {};
    ULONG fetched = 0;
    ASSERT_HR(S_OK, verbs->Next(1, &verb, &fetched));
    EXPECT_EQ(1, verb.lVerb);
    EXPECT_STREQ(L"&Properties...", verb.lpszVerbName);
    EXPECT_EQ(DWORD(OLEVERBATTRIB_ONCONTAINERMENU), verb.grfAttribs);
    CoTaskMemFree(verb.lpszVerbName);
    EXPECT_HR(S_FALSE, verbs->Next(1, &verb, &fetched));
    EXPECT_EQ(0u, fetched);
    EXPECT_HR(E_NOTIMPL, object->DoVerb(OLEIVERB_OPEN, nullptr, nullptr, 0, nullptr, nullptr));
    verbs.reset();
    releaseLast(object);
}

TEST(OleControl, ControlInfoHasNoMnemonics)
{
    com_ptr<IOleControl> control = createControl<IOleControl>(IID_IOleControl);
    CONTROLINFO info = {};
    info.cb = sizeof info;
    info.cAccel = 7;
    EXPECT_HR(S_OK, control->GetControlInfo(&info));
    EXPECT_EQ(0, info.cAccel);
    EXPECT_EQ(nullptr, info.hAccel);
    EXPECT_HR(S_OK, control->FreezeEvents(TRUE));
    EXPECT_HR(S_OK, control->FreezeEvents(FALSE));
    releaseLast(control);
}

TEST(NothingToDo, DataObjectCacheAndBrowsingAnswerWithOleCodes)
{
    com_ptr<IDataObject> data = createControl<IDataObject>(IID_IDataObject);
    FORMATETC format = {CF_TEXT, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    STGMEDIUM medium = {};
    EXPECT_HR(DV_E_FORMATETC, data->GetData(&format, &medium));
    EXPECT_HR(DV_E_FORMATETC, data->QueryGetData(&format));
    IEnumFORMATETC* formats = reinterpret_cast<IEnumFORMATETC*>(0x1);
    EXPECT_HR(OLE_S_USEREG, data->EnumFormatEtc(DATADIR_GET, &formats));
    EXPECT_EQ(nullptr, formats);
    DWORD connection = 7;
    EXPECT_HR(OLE_E_ADVISENOTSUPPORTED, data->DAdvise(&format, 0, nullptr, &connection));
    EXPECT_EQ(0u, connection);

    com_ptr<IOleCache> cache;
    ASSERT_HR(S_OK, data.queryInterface(IID_IOleCache, &cache));
    EXPECT_HR(OLE_E_NOCONNECTION, cache->Uncache(1));
    IEnumSTATDATA* caches = reinterpret_cast<IEnumSTATDATA*>(0x1);
    EXPECT_HR(S_OK, cache->EnumCache(&caches));
    EXPECT_EQ(nullptr, caches);
    EXPECT_HR(CACHE_E_NOCACHE_UPDATED, cache->InitCache(data.get()));

    com_ptr<IPerPropertyBrowsing> browsing;
    ASSERT_HR(S_OK, data.queryInterface(IID_IPerPropertyBrowsing, &browsing));
    BSTR text = reinterpret_cast<BSTR>(0x1);
    EXPECT_HR(E_NOTIMPL, browsing->GetDisplayString(1, &text));
    EXPECT_EQ(nullptr, text);
    CLSID page = kControlClsid;
    EXPECT_HR(PERPROP_E_NOPAGEAVAILABLE, browsing->MapPropertyToPage(1, &page));
    EXPECT_TRUE(IsEqualCLSID(CLSID_NULL, page));
    cache.reset();
    browsing.reset();
    releaseLast(data);
}

TEST(ClassInfo, CoclassAndDefaultSource)
{
    com_ptr<IProvideClassInfo2> info = createControl<IProvideClassInfo2>(IID_IProvideClassInfo2);
    com_ptr<ITypeInfo> coclass;
    ASSERT_HR(S_OK, info->GetClassInfo(coclass.put()));
    TYPEATTR* attributes = nullptr;
    ASSERT_HR(S_OK, coclass->GetTypeAttr(&attributes));
    EXPECT_EQ(TKIND_COCLASS, attributes->typekind);
    EXPECT_TRUE(IsEqualGUID(kControlClsid, attributes->guid));
    EXPECT_TRUE(attributes->wTypeFlags & TYPEFLAG_FCONTROL);
    EXPECT_EQ(2, attributes->cImplTypes);
    coclass->ReleaseTypeAttr(attributes);

    GUID source = GUID_NULL;
    EXPECT_HR(S_OK, info->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, &source));
    EXPECT_TRUE(IsEqualGUID(kEventsIid, source));
    EXPECT_HR(E_INVALIDARG, info->GetGUID(2, &source));
    coclass.reset();
    releaseLast(info);
}

TEST(PropertyPages, OnePageByItsClsid)
{
    com_ptr<ISpecifyPropertyPages> pages = createControl<ISpecifyPropertyPages>(IID_ISpecifyPropertyPages);
    CAUUID list = {};
    ASSERT_HR(S_OK, pages->GetPages(&list));
    ASSERT_EQ(1u, list.cElems);
    EXPECT_TRUE(IsEqualCLSID(kPropPageClsid, list.pElems[0]));
    CoTaskMemFree(list.pElems);
    EXPECT_HR(E_POINTER, pages->GetPages(nullptr));
    releaseLast(pages);
}

TEST(PropertyPages, ThePageIsGeneralAndMapsNothing)
{
    com_ptr<IPropertyPage> page;
    ASSERT_HR(S_OK, createFromModule(kPropPageClsid, IID_IPropertyPage, page.put_void()));
    PROPPAGEINFO info = {};
    info.cb = sizeof info;
    ASSERT_HR(S_OK, page->GetPageInfo(&info));
    ASSERT_NE(nullptr, info.pszTitle);
    EXPECT_STREQ(L"General", info.pszTitle);
    EXPECT_GT(info.size.cx, info.size.cy) << "250 by 62 dialog units";
    CoTaskMemFree(info.pszTitle);
    com_ptr<IUnknown> control = createControl<IUnknown>(IID_IUnknown);
    IUnknown* objects[] = {control.get()};
    EXPECT_HR(S_OK, page->SetObjects(1, objects));
    EXPECT_HR(S_FALSE, page->IsPageDirty());
    EXPECT_HR(S_OK, page->Apply());
    EXPECT_HR(S_OK, page->SetObjects(0, nullptr));
    releaseLast(page);
    releaseLast(control);
}

}  // namespace
}  // namespace kel::test
