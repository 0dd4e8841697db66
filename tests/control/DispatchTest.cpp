// _DKel through IDispatch: the two DISPIDs, the reports of this very machine
// as caller-owned BSTRs, and the standard errors for calls it cannot take.
// This program does not register the module: the type information comes
// from the library inside it.
#include "tests/control/ControlSupport.h"

#include <iterator>

namespace kel::test {
namespace {

constexpr LCID kKorean = 0x0412;

DISPID idOf(IDispatch* dispatch, const wchar_t* name, LCID locale = LOCALE_USER_DEFAULT)
{
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    DISPID id = -99;
    EXPECT_HR(S_OK, dispatch->GetIDsOfNames(IID_NULL, names, std::size(names), locale, &id)) << "name";
    return id;
}

HRESULT call(IDispatch* dispatch, DISPID id, WORD flags, DISPPARAMS* params, VARIANT* result,
             LCID locale = LOCALE_USER_DEFAULT)
{
    return dispatch->Invoke(id, IID_NULL, locale, flags, params, result, nullptr, nullptr);
}

TEST(Dispatch, NamesGiveOneAndTwo)
{
    com_ptr<IDispatch> dispatch = createControl<IDispatch>(IID_IDispatch);
    EXPECT_EQ(1, idOf(dispatch.get(), L"GetBriefInfo"));
    EXPECT_EQ(2, idOf(dispatch.get(), L"GetDetailInfo"));
    EXPECT_EQ(2, idOf(dispatch.get(), L"getdetailinfo")) << "names are not case-sensitive";
    LPOLESTR unknown[] = {const_cast<LPOLESTR>(L"GetEverything")};
    DISPID id = 0;
    EXPECT_HR(DISP_E_UNKNOWNNAME, dispatch->GetIDsOfNames(IID_NULL, unknown, std::size(unknown), 0, &id));
    UINT count = 0;
    EXPECT_HR(S_OK, dispatch->GetTypeInfoCount(&count));
    EXPECT_EQ(1u, count);
    com_ptr<ITypeInfo> info;
    EXPECT_HR(DISP_E_BADINDEX, dispatch->GetTypeInfo(1, 0, info.put()));
    releaseLast(dispatch);
}

TEST(Dispatch, TypeInfoIsTheHiddenDispinterface)
{
    com_ptr<IDispatch> dispatch = createControl<IDispatch>(IID_IDispatch);
    com_ptr<ITypeInfo> info;
    ASSERT_HR(S_OK, dispatch->GetTypeInfo(0, kKorean, info.put()));
    TYPEATTR* attributes = nullptr;
    ASSERT_HR(S_OK, info->GetTypeAttr(&attributes));
    EXPECT_EQ(TKIND_DISPATCH, attributes->typekind);
    EXPECT_TRUE(IsEqualGUID(kDispatchIid, attributes->guid));
    EXPECT_TRUE(attributes->wTypeFlags & TYPEFLAG_FHIDDEN);
    EXPECT_EQ(2, attributes->cFuncs);
    info->ReleaseTypeAttr(attributes);
    info.reset();
    releaseLast(dispatch);
}

TEST(Dispatch, ReportsAreThoseOfThisMachine)
{
    com_ptr<IDispatch> dispatch = createControl<IDispatch>(IID_IDispatch);
    DISPPARAMS none = {};
    struct Case {
        DISPID id;
        WORD flags;
        bool detail;
    };
    const Case cases[] = {
        {1, DISPATCH_METHOD, false},
        {2, DISPATCH_METHOD, true},
        {1, DISPATCH_METHOD | DISPATCH_PROPERTYGET, false},
        {2, DISPATCH_METHOD | DISPATCH_PROPERTYGET, true},
    };
    for (const Case& c : cases) {
        VARIANT result;
        VariantInit(&result);
        ASSERT_HR(S_OK, call(dispatch.get(), c.id, c.flags, &none, &result)) << "id " << c.id;
        ASSERT_EQ(VT_BSTR, V_VT(&result));
        const std::wstring got(V_BSTR(&result), SysStringLen(V_BSTR(&result)));
        EXPECT_EQ(withClockMasked(expectedReport(c.detail)), withClockMasked(got)) << "id " << c.id;
        EXPECT_EQ(0u, got.find(L"OS: "));
        EXPECT_EQ(L'\n', got.back());
        VariantClear(&result);
    }
    releaseLast(dispatch);
}

TEST(Dispatch, NullResultRunsTheReportAndDiscardsIt)
{
    com_ptr<IDispatch> dispatch = createControl<IDispatch>(IID_IDispatch);
    DISPPARAMS none = {};
    EXPECT_HR(S_OK, call(dispatch.get(), 2, DISPATCH_METHOD, &none, nullptr));
    EXPECT_HR(S_OK, call(dispatch.get(), 1, DISPATCH_METHOD, &none, nullptr));
    releaseLast(dispatch);
}

TEST(Dispatch, BadCallsGetTheStandardErrors)
{
    com_ptr<IDispatch> dispatch = createControl<IDispatch>(IID_IDispatch);
    VARIANT argument;
    VariantInit(&argument);
    V_VT(&argument) = VT_I4;
    V_I4(&argument) = 1;
    DISPID named = 1;
    DISPPARAMS none = {};
    DISPPARAMS oneArgument = {&argument, nullptr, 1, 0};
    DISPPARAMS oneNamed = {&argument, &named, 1, 1};
    DISPID putId = DISPID_PROPERTYPUT;
    DISPPARAMS put = {&argument, &putId, 1, 1};
    struct Case {
        const char* what;
        DISPID id;
        WORD flags;
        DISPPARAMS* params;
        HRESULT result;
    };
    const Case cases[] = {
        {"unknown DISPID", 3, DISPATCH_METHOD, &none, DISP_E_MEMBERNOTFOUND},
        {"DISPID 0", 0, DISPATCH_METHOD, &none, DISP_E_MEMBERNOTFOUND},
        {"an argument", 1, DISPATCH_METHOD, &oneArgument, DISP_E_BADPARAMCOUNT},
        {"a named argument", 2, DISPATCH_METHOD, &oneNamed, DISP_E_NONAMEDARGS},
        {"property put", 1, DISPATCH_PROPERTYPUT, &put, DISP_E_MEMBERNOTFOUND},
        {"property putref", 1, DISPATCH_PROPERTYPUTREF, &put, DISP_E_MEMBERNOTFOUND},
        {"property get alone", 1, DISPATCH_PROPERTYGET, &none, DISP_E_MEMBERNOTFOUND},
        {"no parameters", 1, DISPATCH_METHOD, nullptr, E_POINTER},
    };
    for (const Case& c : cases) {
        VARIANT result;
        VariantInit(&result);
        EXPECT_HR(c.result, call(dispatch.get(), c.id, c.flags, c.params, &result)) << c.what;
        EXPECT_EQ(VT_EMPTY, V_VT(&result)) << c.what;
    }
    VARIANT result;
    VariantInit(&result);
    EXPECT_HR(DISP_E_UNKNOWNINTERFACE,
              dispatch->Invoke(1, IID_IUnknown, 0, DISPATCH_METHOD, &none, &result, nullptr, nullptr));
    // Still usable after all that.
    EXPECT_HR(S_OK, call(dispatch.get(), 1, DISPATCH_METHOD, &none, &result));
    VariantClear(&result);
    releaseLast(dispatch);
}

TEST(Dispatch, KoreanCallerGetsTypeInfoAndReports)
{
    const LCID previous = GetThreadLocale();
    SetThreadLocale(kKorean);
    com_ptr<IDispatch> dispatch = createControl<IDispatch>(IID_IDispatch);
    EXPECT_EQ(1, idOf(dispatch.get(), L"GetBriefInfo", kKorean));
    EXPECT_EQ(2, idOf(dispatch.get(), L"GetDetailInfo", kKorean));
    DISPPARAMS none = {};
    VARIANT result;
    VariantInit(&result);
    EXPECT_HR(S_OK, call(dispatch.get(), 1, DISPATCH_METHOD, &none, &result, kKorean));
    EXPECT_EQ(VT_BSTR, V_VT(&result));
    VariantClear(&result);
    releaseLast(dispatch);
    SetThreadLocale(previous);
}

}  // namespace
}  // namespace kel::test
