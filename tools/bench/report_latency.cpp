// The two reports against WMI, in one process: the control created by its
// ProgID and called through IDispatch 100 times a report, then the same
// sections gathered through WMI (root\cimv2, one query a class, every object
// fetched and every property read) 100 times. A measurement, not a test;
// scripts/bench runs it and writes the document.
//
//   report_latency PATH\Kel.ocx
//
// Registers the module first (the prefix is a fresh one). Prints one line a
// figure, each a tag and name=value fields: "control", "wmi-class" (one a
// class: the section it stands for, whether this WMI has it, its times),
// "wmi" (the sets covering each report) and "ratio".
#include <windows.h>
#include <oleauto.h>
#include <wbemcli.h>

#include "control/framework/ComPtr.h"
#include "tools/bench/Timing.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <iterator>
#include <string>
#include <vector>

namespace {

using kel::bench::Clock;
using kel::bench::millisecondsSince;

constexpr int kCalls = 100;

using kel::com::com_ptr;

struct Figures {
    double median = 0, p95 = 0, worst = 0;
};

Figures figuresOf(std::vector<double> values)
{
    Figures f;
    if (values.empty())
        return f;
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    f.median = kel::bench::median(values);
    f.p95 = values[(n * 95 + 99) / 100 - 1];
    f.worst = values.back();
    return f;
}

void printFigures(const char* tag, const char* name, const Figures& f)
{
    std::printf("%s name=%s median_ms=%.3f p95_ms=%.3f worst_ms=%.3f\n", tag, name, f.median, f.p95, f.worst);
}

bool registerModule(const char* path)
{
    HMODULE module = LoadLibraryA(path);
    if (!module) {
        std::fprintf(stderr, "report_latency: cannot load %s (%lu)\n", path, GetLastError());
        return false;
    }
    auto* registerServer = reinterpret_cast<HRESULT(STDAPICALLTYPE*)()>(
        reinterpret_cast<void*>(GetProcAddress(module, "DllRegisterServer")));
    const HRESULT hr = registerServer ? registerServer() : E_NOINTERFACE;
    if (FAILED(hr))
        std::fprintf(stderr, "report_latency: DllRegisterServer failed (0x%08lx)\n", hr);
    return SUCCEEDED(hr);
}

// Calls one report method without arguments; the text is freed at once.
bool callReport(IDispatch* control, DISPID id, std::size_t* length)
{
    DISPPARAMS none = {nullptr, nullptr, 0, 0};
    VARIANT result;
    VariantInit(&result);
    const HRESULT hr =
        control->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &none, &result, nullptr, nullptr);
    const bool ok = SUCCEEDED(hr) && result.vt == VT_BSTR;
    if (ok)
        *length = SysStringLen(result.bstrVal);
    VariantClear(&result);
    return ok;
}

struct ControlTimes {
    std::vector<double> brief, detail;
};

bool timeControl(ControlTimes* times)
{
    const Clock::time_point start = Clock::now();
    CLSID clsid;
    com_ptr<IDispatch> control;
    if (FAILED(CLSIDFromProgID(L"KEL.KelCtrl.1", &clsid)) ||
        FAILED(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, control.put_void()))) {
        std::fprintf(stderr, "report_latency: cannot create KEL.KelCtrl.1\n");
        return false;
    }
    std::printf("control name=create ms=%.3f\n", millisecondsSince(start));
    const wchar_t* names[] = {L"GetBriefInfo", L"GetDetailInfo"};
    std::vector<double>* lists[] = {&times->brief, &times->detail};
    for (std::size_t report = 0; report < std::size(names); ++report) {
        DISPID id;
        LPOLESTR name = const_cast<LPOLESTR>(names[report]);
        if (FAILED(control->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id)))
            return false;
        std::size_t length = 0;
        for (int call = 0; call <= kCalls; ++call) {
            const Clock::time_point callStart = Clock::now();
            if (!callReport(control.get(), id, &length))
                return false;
            // The first call, which loads the libraries the collectors use,
            // is reported apart.
            if (call == 0)
                std::printf("control name=first-%s ms=%.3f\n", report ? "detail" : "brief",
                            millisecondsSince(callStart));
            else
                lists[report]->push_back(millisecondsSince(callStart));
        }
        std::printf("control name=%s-length chars=%zu\n", report ? "detail" : "brief", length);
    }
    printFigures("control", "brief", figuresOf(times->brief));
    printFigures("control", "detail", figuresOf(times->detail));
    return true;
}

// A WMI class that stands for one report section.
struct WmiClass {
    WmiClass(const wchar_t* className, const char* sectionName, bool inBrief)
        : name(className), section(sectionName), brief(inBrief)
    {
    }

    const wchar_t* name;
    const char* section;
    bool brief;             // the section is in the brief report too
    bool answered = false;  // the query succeeded
    bool defined = false;   // GetObject found the class
    std::size_t objects = 0;
    std::vector<double> times;
};

// Reads every property of every object the query returns.
bool runQuery(IWbemServices* services, const WmiClass& c, std::size_t* objects)
{
    const std::wstring wql = std::wstring(L"SELECT * FROM ") + c.name;
    BSTR language = SysAllocString(L"WQL");
    BSTR query = SysAllocString(wql.c_str());
    com_ptr<IEnumWbemClassObject> results;
    const HRESULT hr = services->ExecQuery(
        language, query, WBEM_FLAG_FORWARD_ONLY | WBEM_FLAG_RETURN_IMMEDIATELY, nullptr, results.put());
    SysFreeString(language);
    SysFreeString(query);
    if (FAILED(hr))
        return false;
    *objects = 0;
    for (;;) {
        com_ptr<IWbemClassObject> object;
        ULONG returned = 0;
        // The query runs as the results are asked for: a class this WMI
        // lacks fails here rather than in ExecQuery.
        const HRESULT next = results->Next(WBEM_INFINITE, 1, object.put(), &returned);
        if (FAILED(next))
            return false;
        if (next != WBEM_S_NO_ERROR || returned == 0)
            break;
        ++*objects;
        object->BeginEnumeration(WBEM_FLAG_NONSYSTEM_ONLY);
        BSTR property = nullptr;
        VARIANT value;
        VariantInit(&value);
        while (object->Next(0, &property, &value, nullptr, nullptr) == WBEM_S_NO_ERROR) {
            SysFreeString(property);
            VariantClear(&value);
        }
        object->EndEnumeration();
    }
    return true;
}

// Wine's WMI answers a query of a class it lacks with no objects, and its
// GetObject fails for a class without objects: only the two together tell
// what is there.
bool classDefined(IWbemServices* services, const wchar_t* name)
{
    BSTR path = SysAllocString(name);
    com_ptr<IWbemClassObject> definition;
    const HRESULT hr = services->GetObject(path, 0, nullptr, definition.put(), nullptr);
    SysFreeString(path);
    return SUCCEEDED(hr);
}

bool connectWmi(com_ptr<IWbemServices>* services)
{
    const Clock::time_point start = Clock::now();
    com_ptr<IWbemLocator> locator;
    if (FAILED(CoCreateInstance(CLSID_WbemLocator, nullptr, CLSCTX_INPROC_SERVER, IID_IWbemLocator,
                                locator.put_void())))
        return false;
    BSTR where = SysAllocString(L"root\\cimv2");
    const HRESULT hr =
        locator->ConnectServer(where, nullptr, nullptr, nullptr, 0, nullptr, nullptr, services->put());
    SysFreeString(where);
    if (FAILED(hr))
        return false;
    CoSetProxyBlanket(services->get(), RPC_C_AUTHN_WINNT, RPC_C_AUTHZ_NONE, nullptr, RPC_C_AUTHN_LEVEL_CALL,
                      RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE);
    std::printf("wmi name=connect ms=%.3f\n", millisecondsSince(start));
    return true;
}

// Each set's time per round is the sum of its classes' queries in that round.
bool timeWmi(std::vector<WmiClass>& classes, std::vector<double>* briefSet, std::vector<double>* detailSet)
{
    com_ptr<IWbemServices> services;
    if (!connectWmi(&services)) {
        std::fprintf(stderr, "report_latency: cannot connect to root\\cimv2\n");
        return false;
    }
    for (WmiClass& c : classes) {
        const Clock::time_point start = Clock::now();
        c.answered = runQuery(services.get(), c, &c.objects);
        std::printf("wmi-class name=%ls first_ms=%.3f\n", c.name, millisecondsSince(start));
        c.defined = classDefined(services.get(), c.name);
    }
    for (int round = 0; round < kCalls; ++round) {
        double brief = 0, detail = 0;
        for (WmiClass& c : classes) {
            if (!c.answered)
                continue;
            std::size_t objects = 0;
            const Clock::time_point start = Clock::now();
            if (!runQuery(services.get(), c, &objects))
                return false;
            const double took = millisecondsSince(start);
            c.times.push_back(took);
            detail += took;
            if (c.brief)
                brief += took;
        }
        briefSet->push_back(brief);
        detailSet->push_back(detail);
    }
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: report_latency PATH\\Kel.ocx\n");
        return 64;
    }
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)))
        return 1;
    CoInitializeSecurity(nullptr, -1, nullptr, nullptr, RPC_C_AUTHN_LEVEL_DEFAULT,
                         RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE, nullptr);
    std::vector<WmiClass> classes = {
        {L"Win32_OperatingSystem", "OS", true},    {L"Win32_Processor", "CPU", true},
        {L"Win32_ComputerSystem", "Memory", true}, {L"Win32_VideoController", "Vga", true},
        {L"Win32_SoundDevice", "Sound", true},     {L"Win32_NetworkAdapter", "Nic", true},
        {L"Win32_LogicalDisk", "Disks", false},    {L"Win32_Printer", "Printers", false},
        {L"Win32_Product", "Softwares", false},    {L"Win32_StartupCommand", "Startup", false},
    };
    ControlTimes control;
    std::vector<double> wmiBrief, wmiDetail;
    if (!registerModule(argv[1]) || !timeControl(&control) || !timeWmi(classes, &wmiBrief, &wmiDetail)) {
        CoUninitialize();
        return 1;
    }
    for (const WmiClass& c : classes) {
        const Figures f = figuresOf(c.times);
        std::printf(
            "wmi-class name=%ls section=%s report=%s answered=%d objects=%zu defined=%d "
            "median_ms=%.3f p95_ms=%.3f worst_ms=%.3f\n",
            c.name, c.section, c.brief ? "brief" : "detail", c.answered, c.objects, c.defined, f.median,
            f.p95, f.worst);
    }
    const Figures briefWmi = figuresOf(wmiBrief), detailWmi = figuresOf(wmiDetail);
    printFigures("wmi", "brief", briefWmi);
    printFigures("wmi", "detail", detailWmi);
    const Figures brief = figuresOf(control.brief), detail = figuresOf(control.detail);
    std::printf("ratio name=brief median=%.2f\n", briefWmi.median / brief.median);
    std::printf("ratio name=detail median=%.2f\n", detailWmi.median / detail.median);
    CoUninitialize();
    return 0;
}
