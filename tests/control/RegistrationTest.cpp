// regsvr32 registers and unregisters the module, twice each; every entry is
// read back exactly, and the type library and the categories are there.
#include "tests/control/ControlSupport.h"

#include <olectl.h>

#include <iterator>
#include <string>

namespace kel::test {
namespace {

const wchar_t kScriptingCategory[] = L"{7DD95801-9882-11CF-9FA9-00AA006C42C4}";
const wchar_t kInitializingCategory[] = L"{7DD95802-9882-11CF-9FA9-00AA006C42C4}";

// The REG_SZ value, or "<missing>" / "<type n>" when it is not one.
std::wstring valueOf(const std::wstring& path, const wchar_t* name)
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return L"<missing key>";
    wchar_t data[512] = {};
    DWORD size = sizeof data - sizeof(wchar_t);
    DWORD type = 0;
    const LONG result = RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(data), &size);
    RegCloseKey(key);
    if (result != ERROR_SUCCESS)
        return L"<missing value>";
    if (type != REG_SZ)
        return L"<type " + std::to_wstring(type) + L">";
    return std::wstring(data, wcsnlen(data, size / sizeof(wchar_t)));
}

std::wstring shortModulePath()
{
    wchar_t full[MAX_PATH];
    GetModuleFileNameW(kelModule(), full, MAX_PATH);
    wchar_t shortPath[MAX_PATH];
    const DWORD length = GetShortPathNameW(full, shortPath, MAX_PATH);
    return length ? std::wstring(shortPath, length) : std::wstring(full);
}

std::wstring fullModulePath()
{
    wchar_t full[MAX_PATH];
    const DWORD length = GetModuleFileNameW(kelModule(), full, MAX_PATH);
    return std::wstring(full, length);
}

struct Entry {
    std::wstring key;
    const wchar_t* name;
    std::wstring value;
};

std::vector<Entry> expectedEntries()
{
    const std::wstring control = L"CLSID\\" + guidText(kControlClsid);
    const std::wstring page = L"CLSID\\" + guidText(kPropPageClsid);
    const std::wstring path = shortModulePath();
    return {
        {control, nullptr, L"Kel Control"},
        {control + L"\\ProgID", nullptr, L"KEL.KelCtrl.1"},
        {control + L"\\InprocServer32", nullptr, path},
        {control + L"\\InprocServer32", L"ThreadingModel", L"Apartment"},
        {control + L"\\ToolboxBitmap32", nullptr, path + L", 1"},
        {control + L"\\MiscStatus", nullptr, L"0"},
        {control + L"\\MiscStatus\\1", nullptr, L"131217"},
        {control + L"\\Control", nullptr, L""},
        {control + L"\\TypeLib", nullptr, guidText(kLibraryId)},
        {control + L"\\Version", nullptr, L"1.0"},
        {L"KEL.KelCtrl.1", nullptr, L"Kel Control"},
        {L"KEL.KelCtrl.1\\CLSID", nullptr, guidText(kControlClsid)},
        {page, nullptr, L"Kel Property Page"},
        {page + L"\\InprocServer32", nullptr, path},
    };
}

std::string narrow(const std::wstring& wide) { return std::string(wide.begin(), wide.end()); }

void expectRegistered()
{
    for (const Entry& entry : expectedEntries()) {
        EXPECT_EQ(narrow(entry.value), narrow(valueOf(entry.key, entry.name)))
            << narrow(entry.key) << " value " << (entry.name ? narrow(entry.name) : "(default)");
    }
    const std::wstring control = L"CLSID\\" + guidText(kControlClsid);
    const std::wstring page = L"CLSID\\" + guidText(kPropPageClsid);
    EXPECT_FALSE(classesKeyExists(control + L"\\Insertable")) << "the control is not insertable";
    EXPECT_EQ("<missing value>", narrow(valueOf(page + L"\\InprocServer32", L"ThreadingModel")));
    EXPECT_FALSE(classesKeyExists(page + L"\\ProgID"));
    EXPECT_FALSE(classesKeyExists(L"KEL.KelPropPage.1"));

    const std::wstring library = L"TypeLib\\" + guidText(kLibraryId) + L"\\1.0";
    EXPECT_EQ("Kel ActiveX Control module", narrow(valueOf(library, nullptr)));
#ifdef _WIN64
    EXPECT_EQ(narrow(fullModulePath()), narrow(valueOf(library + L"\\409\\win64", nullptr)));
#else
    EXPECT_EQ(narrow(fullModulePath()), narrow(valueOf(library + L"\\409\\win32", nullptr)));
#endif
    EXPECT_TRUE(classesKeyExists(L"Interface\\" + guidText(kDispatchIid)));

    EXPECT_EQ("Controls that are safely scriptable",
              narrow(valueOf(std::wstring(L"Component Categories\\") + kScriptingCategory, L"409")));
    EXPECT_EQ("Controls safely initializable from persistent data",
              narrow(valueOf(std::wstring(L"Component Categories\\") + kInitializingCategory, L"409")));
    EXPECT_TRUE(classesKeyExists(control + L"\\Implemented Categories\\" + kScriptingCategory));
    EXPECT_TRUE(classesKeyExists(control + L"\\Implemented Categories\\" + kInitializingCategory));
}

void expectUnregistered()
{
    for (const Entry& entry : expectedEntries())
        EXPECT_FALSE(classesKeyExists(entry.key)) << narrow(entry.key) << " still there";
    EXPECT_FALSE(classesKeyExists(L"TypeLib\\" + guidText(kLibraryId)));
    EXPECT_FALSE(classesKeyExists(L"Interface\\" + guidText(kDispatchIid)));
    // Other controls may belong to the categories: they stay.
    EXPECT_TRUE(classesKeyExists(std::wstring(L"Component Categories\\") + kScriptingCategory));
    EXPECT_TRUE(classesKeyExists(std::wstring(L"Component Categories\\") + kInitializingCategory));
}

TEST(Registration, RegisterTwiceLeavesTheSameEntries)
{
    ASSERT_EQ(0u, regsvr32(false));
    expectRegistered();
    ASSERT_EQ(0u, regsvr32(false));
    expectRegistered();
}

TEST(Registration, ProgIdCreatesTheControlAndTheLibraryLoadsFromTheRegistry)
{
    ASSERT_EQ(0u, regsvr32(false));
    CLSID clsid = CLSID_NULL;
    ASSERT_HR(S_OK, CLSIDFromProgID(L"KEL.KelCtrl.1", &clsid));
    EXPECT_TRUE(IsEqualCLSID(kControlClsid, clsid));
    com_ptr<IDispatch> dispatch;
    ASSERT_HR(S_OK,
              CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, dispatch.put_void()));
    com_ptr<ITypeLib> library;
    EXPECT_HR(S_OK, LoadRegTypeLib(kLibraryId, 1, 0, 0x0409, library.put()));
    TLIBATTR* attributes = nullptr;
    ASSERT_HR(S_OK, library->GetLibAttr(&attributes));
    EXPECT_EQ(0x0409u, attributes->lcid);
    EXPECT_TRUE(attributes->wLibFlags & LIBFLAG_FCONTROL);
#ifdef _WIN64
    EXPECT_EQ(SYS_WIN64, attributes->syskind);
#else
    EXPECT_EQ(SYS_WIN32, attributes->syskind);
#endif
    library->ReleaseTLibAttr(attributes);
    releaseLast(dispatch);
}

TEST(Registration, KoreanCallerWhereOnlyEnglishIsRegistered)
{
    ASSERT_EQ(0u, regsvr32(false));
    // The registry has the library under 0x0409 only: a Korean lookup fails,
    // which is why the control falls back to the library's own locale.
    com_ptr<ITypeLib> library;
    EXPECT_NE(Hr{S_OK}, Hr{LoadRegTypeLib(kLibraryId, 1, 0, 0x0412, library.put())});
    const LCID previous = GetThreadLocale();
    SetThreadLocale(0x0412);
    com_ptr<IDispatch> dispatch;
    ASSERT_HR(S_OK, CoCreateInstance(kControlClsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                                     dispatch.put_void()));
    com_ptr<ITypeInfo> info;
    EXPECT_HR(S_OK, dispatch->GetTypeInfo(0, 0x0412, info.put()));
    LPOLESTR names[] = {const_cast<LPOLESTR>(L"GetDetailInfo")};
    DISPID id = 0;
    EXPECT_HR(S_OK, dispatch->GetIDsOfNames(IID_NULL, names, std::size(names), 0x0412, &id));
    EXPECT_EQ(2, id);
    DISPPARAMS none = {};
    VARIANT result;
    VariantInit(&result);
    EXPECT_HR(S_OK, dispatch->Invoke(2, IID_NULL, 0x0412, DISPATCH_METHOD, &none, &result, nullptr, nullptr));
    ASSERT_EQ(VT_BSTR, V_VT(&result));
    EXPECT_EQ(withClockMasked(expectedReport(true)),
              withClockMasked(std::wstring(V_BSTR(&result), SysStringLen(V_BSTR(&result)))));
    VariantClear(&result);
    info.reset();
    releaseLast(dispatch);
    SetThreadLocale(previous);
}

TEST(Registration, UnregisterTwiceRemovesEverything)
{
    ASSERT_EQ(0u, regsvr32(false));
    ASSERT_EQ(0u, regsvr32(true));
    expectUnregistered();
    ASSERT_EQ(0u, regsvr32(true));
    expectUnregistered();
}

TEST(Registration, SixteenBitServerKeepsTheClassKey)
{
    ASSERT_EQ(0u, regsvr32(false));
    const std::wstring control = L"CLSID\\" + guidText(kControlClsid);
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CLASSES_ROOT, (control + L"\\InprocServer").c_str(), 0,
                                             nullptr, 0, KEY_WRITE, nullptr, &key, nullptr));
    RegCloseKey(key);
    ASSERT_EQ(0u, regsvr32(true));
    EXPECT_FALSE(classesKeyExists(control + L"\\InprocServer32"));
    EXPECT_FALSE(classesKeyExists(control + L"\\ToolboxBitmap32"));
    EXPECT_TRUE(classesKeyExists(control + L"\\InprocServer"));
    EXPECT_EQ("131217", narrow(valueOf(control + L"\\MiscStatus\\1", nullptr)));
    EXPECT_EQ("Kel Control", narrow(valueOf(L"KEL.KelCtrl.1", nullptr)));
}

}  // namespace
}  // namespace kel::test
