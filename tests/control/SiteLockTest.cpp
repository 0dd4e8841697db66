// The site lock in the control, under Wine with the policy in this test's
// own registry: the page's URL as either kind of site names it, given
// through SetClientSite and through SetSite, and the two points that refuse
// a page the policy does not list.
#include "tests/control/ControlSupport.h"
#include "tests/control/ScopedPolicy.h"
#include "tests/control/TestSite.h"

#include <objsafe.h>

#include <string>

namespace kel::test {
namespace {

using Names = TestSite::Names;

enum class Given { NoSite, ClientSite, Site };

const char* nameOf(Given given)
{
    return given == Given::NoSite ? "no site" : given == Given::ClientSite ? "SetClientSite" : "SetSite";
}

// A control with the site given one way, that lets go of it at the end.
class HostedControl {
public:
    HostedControl(Given given, TestSite& site) : given_(given), site_(site)
    {
        control_ = createControl<IUnknown>(IID_IUnknown);
        give(&site_);
    }
    ~HostedControl()
    {
        give(nullptr);
        releaseLast(control_);
        EXPECT_EQ(0u, site_.references()) << "references left on the site";
    }
    HostedControl(const HostedControl&) = delete;
    HostedControl& operator=(const HostedControl&) = delete;

    HRESULT enableScripting()
    {
        com_ptr<IObjectSafety> safety;
        control_.queryInterface(IID_IObjectSafety, &safety);
        return safety->SetInterfaceSafetyOptions(IID_IDispatch, INTERFACESAFE_FOR_UNTRUSTED_CALLER,
                                                 INTERFACESAFE_FOR_UNTRUSTED_CALLER);
    }

    // The method's answer; result keeps its sentinel unless the call made one.
    HRESULT call(DISPID id, VARIANT* result)
    {
        com_ptr<IDispatch> dispatch;
        control_.queryInterface(IID_IDispatch, &dispatch);
        DISPPARAMS none = {};
        return dispatch->Invoke(id, IID_NULL, 0, DISPATCH_METHOD, &none, result, nullptr, nullptr);
    }

private:
    void give(TestSite* site)
    {
        if (given_ == Given::ClientSite) {
            com_ptr<IOleObject> object;
            control_.queryInterface(IID_IOleObject, &object);
            EXPECT_HR(S_OK, object->SetClientSite(site));
        } else if (given_ == Given::Site) {
            com_ptr<IObjectWithSite> withSite;
            control_.queryInterface(IID_IObjectWithSite, &withSite);
            EXPECT_HR(S_OK, withSite->SetSite(site ? static_cast<IOleClientSite*>(site) : nullptr));
        }
    }

    Given given_;
    TestSite& site_;
    com_ptr<IUnknown> control_;
};

// Both report methods refuse, and write no result.
void expectRefused(HostedControl& control, const std::string& what)
{
    EXPECT_HR(E_FAIL, control.enableScripting()) << what;
    for (DISPID id : {KEL_DISPID_GETBRIEFINFO, KEL_DISPID_GETDETAILINFO}) {
        VARIANT result;
        V_VT(&result) = VT_I4;
        V_I4(&result) = 0x5EED;
        EXPECT_HR(E_ACCESSDENIED, control.call(id, &result)) << what << ", DISPID " << id;
        EXPECT_EQ(VT_I4, V_VT(&result)) << what;
        EXPECT_EQ(0x5EED, V_I4(&result)) << what;
    }
}

struct Row {
    const wchar_t* url;
    Names names;
    bool allowed;
};

const wchar_t kListed[] = L"intranet.example.com; *.corp.example.com;10.0.0.5;file:";

const Row kRows[] = {
    {L"http://intranet.example.com/inventory.html", Names::ThroughBrowser, true},
    {L"http://intranet.example.com/inventory.html", Names::ThroughMoniker, true},
    {L"http://www.example.com/", Names::ThroughBrowser, false},
    {L"http://www.example.com/", Names::ThroughMoniker, false},
    {L"http://hr.corp.example.com/", Names::ThroughMoniker, true},
    {L"http://corp.example.com/", Names::ThroughBrowser, false},
    {L"HTTP://INTRANET.EXAMPLE.COM/", Names::ThroughBrowser, true},
    {L"http://intranet.example.com:8080/x", Names::ThroughMoniker, true},
    {L"https://hr.corp.example.com/", Names::ThroughBrowser, true},
    {L"http://10.0.0.5/", Names::ThroughMoniker, true},
    {L"file:///C:/pages/kel.html", Names::ThroughMoniker, true},
    {L"ftp://intranet.example.com/", Names::ThroughBrowser, false},
    {L"http://www.example.com/", Names::Nothing, true},  // a site that names no page
};

std::string describe(const Row& row, Given given)
{
    return std::string(nameOf(given)) + ", " +
           (row.names == Names::ThroughBrowser ? "browser " : "moniker ") +
           std::string(row.url, row.url + wcslen(row.url));
}

TEST(SiteLock, PagesOfAListedPolicyThroughBothSites)
{
    ScopedPolicy policy(kListed);
    for (const Row& row : kRows) {
        for (Given given : {Given::ClientSite, Given::Site}) {
            TestSite site(row.names, row.url);
            HostedControl control(given, site);
            if (row.allowed)
                EXPECT_HR(S_OK, control.enableScripting()) << describe(row, given);
            else
                expectRefused(control, describe(row, given));
        }
    }
}

TEST(SiteLock, AListedPageGetsItsReportThroughBothSites)
{
    ScopedPolicy policy(kListed);
    for (Given given : {Given::ClientSite, Given::Site}) {
        TestSite site(Names::ThroughBrowser, L"https://intranet.example.com/inventory.html");
        HostedControl control(given, site);
        VARIANT result;
        VariantInit(&result);
        EXPECT_HR(S_OK, control.call(KEL_DISPID_GETBRIEFINFO, &result)) << nameOf(given);
        ASSERT_EQ(VT_BSTR, V_VT(&result)) << nameOf(given);
        EXPECT_EQ(0, wcsncmp(V_BSTR(&result), L"OS: ", 4)) << nameOf(given);
        VariantClear(&result);
    }
}

TEST(SiteLock, WithoutAPolicyOrAPageEveryCallerIsServed)
{
    {
        TestSite site(Names::ThroughBrowser, L"ftp://www.example.com/");
        HostedControl control(Given::Site, site);
        EXPECT_HR(S_OK, control.enableScripting()) << "no policy";
    }
    ScopedPolicy allowsNoPage(L"");
    for (Names names : {Names::Nothing, Names::ThroughBrowser}) {
        TestSite site(names, L"");
        HostedControl control(Given::ClientSite, site);
        EXPECT_HR(S_OK, control.enableScripting()) << "a site that names no page";
    }
    TestSite unused(Names::Nothing, L"");
    HostedControl control(Given::NoSite, unused);
    EXPECT_HR(S_OK, control.enableScripting()) << "no site";
}

TEST(SiteLock, BrokenPoliciesRefuseEveryPage)
{
    const std::wstring listed = L"intranet.example.com";
    const DWORD number = 1;
    const std::wstring overlong = listed + L";" + std::wstring(5000, L'x');
    struct Broken {
        const char* name;
        DWORD type;
        const void* data;
        DWORD bytes;
    } const rows[] = {
        {"REG_DWORD", REG_DWORD, &number, sizeof number},
        {"REG_EXPAND_SZ", REG_EXPAND_SZ, listed.c_str(), static_cast<DWORD>((listed.size() + 1) * 2)},
        {"empty", REG_SZ, L"", 2},
        {"no bytes", REG_SZ, L"", 0},
        {"unterminated", REG_SZ, listed.c_str(), static_cast<DWORD>(listed.size() * 2)},
        {"overlong", REG_SZ, overlong.c_str(), static_cast<DWORD>((overlong.size() + 1) * 2)},
    };
    for (const Broken& row : rows) {
        ScopedPolicy policy(row.type, row.data, row.bytes);
        TestSite site(Names::ThroughBrowser, L"http://intranet.example.com/");
        HostedControl control(Given::Site, site);
        expectRefused(control, row.name);
    }
}

TEST(SiteLock, ThePolicyIsReadAtEveryAsk)
{
    TestSite site(Names::ThroughMoniker, L"http://www.example.com/");
    HostedControl control(Given::ClientSite, site);
    EXPECT_HR(S_OK, control.enableScripting());
    {
        ScopedPolicy policy(kListed);
        expectRefused(control, "after the policy came");
    }
    EXPECT_HR(S_OK, control.enableScripting()) << "after it went";
}

TEST(ObjectWithSite, GetSiteHandsOutTheSiteItWasGiven)
{
    com_ptr<IObjectWithSite> control = createControl<IObjectWithSite>(IID_IObjectWithSite);
    void* answer = reinterpret_cast<void*>(0x1);
    EXPECT_HR(E_FAIL, control->GetSite(IID_IUnknown, &answer)) << "no site yet";
    EXPECT_EQ(nullptr, answer);
    EXPECT_HR(E_POINTER, control->GetSite(IID_IUnknown, nullptr));
    {
        TestSite site(Names::Nothing, L"");
        EXPECT_HR(S_OK, control->SetSite(static_cast<IOleClientSite*>(&site)));
        com_ptr<IServiceProvider> services;
        EXPECT_HR(S_OK, control->GetSite(IID_IServiceProvider, services.put_void()));
        EXPECT_EQ(static_cast<IServiceProvider*>(&site), services.get());
        EXPECT_HR(E_NOINTERFACE, control->GetSite(IID_IOleObject, &answer));
        EXPECT_EQ(nullptr, answer);
        services.reset();
        EXPECT_HR(S_OK, control->SetSite(nullptr));
        EXPECT_EQ(0u, site.references());
    }
    EXPECT_HR(E_FAIL, control->GetSite(IID_IUnknown, &answer));
    releaseLast(control);
}

}  // namespace
}  // namespace kel::test
