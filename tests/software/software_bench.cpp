// Times the detailed report on Wine's real registry as the uninstall list and
// the machine's Run key grow, up to 5,000 programs and 500 Run values, to show
// that the cost stays linear in the number of entries. Not a test: run it in
// a prefix of its own, from the project's root:
//   scripts/wine-run --prefix build/win64/wine/bench --
//       build/win64/tests/software/software_bench.exe   (one command line)
// It prints one line per size: the entries, milliseconds per report call,
// microseconds per entry, and milliseconds per fill of the program and
// start-up collectors alone (the rest of the report costs the same at every
// size).
#include "collectors/DiskInfo.h"
#include "collectors/PrinterInfo.h"
#include "collectors/SoftwareInfo.h"
#include "collectors/StartUpInfo.h"
#include "report/Report.h"

#include <windows.h>

#include <cstdio>
#include <string>

namespace {

constexpr int kCallsPerSize = 5;

bool addProgram(int n)
{
    const std::string path =
        "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\KelBench" + std::to_string(n);
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                        &key, nullptr) != ERROR_SUCCESS)
        return false;
    const std::string name = "Kel Bench Program " + std::to_string(n);
    const LONG result = RegSetValueExA(key, "DisplayName", 0, REG_SZ,
                                       reinterpret_cast<const BYTE*>(name.c_str()),
                                       static_cast<DWORD>(name.size() + 1));
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}

bool addRunValue(int n)
{
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run", 0,
                        nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return false;
    const std::string name = "KelBench" + std::to_string(n);
    const std::string data = "C:\\Kel\\bench" + std::to_string(n) + ".exe /quiet";
    const LONG result =
        RegSetValueExA(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                       static_cast<DWORD>(data.size() + 1));
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}

double seconds()
{
    LARGE_INTEGER frequency, counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Milliseconds per call of fill on a fresh collector, averaged.
template <class Collector>
double fillMilliseconds(void (Collector::*fill)())
{
    const double start = seconds();
    for (int i = 0; i < kCallsPerSize; ++i) {
        Collector collector;
        (collector.*fill)();
    }
    return (seconds() - start) / kCallsPerSize * 1e3;
}

}  // namespace

int main()
{
    int programs = 0;
    int runValues = 0;
    std::printf("fixed part: drives %.1f ms, printers %.1f ms per fill\n",
                fillMilliseconds(&kel::DiskInfo::setDiskInfo),
                fillMilliseconds(&kel::PrinterInfo::setPrinterInfo));
    std::printf("%8s %6s %10s %9s %12s %12s %7s\n", "programs", "run", "ms/report", "us/entry",
                "ms/software", "ms/startup", "lines");
    for (int step = 1; step <= 5; ++step) {
        for (; programs < step * 1000; ++programs)
            if (!addProgram(programs))
                return 1;
        for (; runValues < step * 100; ++runValues)
            if (!addRunValue(runValues))
                return 1;
        std::u16string report;
        kel::runReport(kel::ReportKind::Detail, &report);  // warm the registry caches
        const double start = seconds();
        for (int i = 0; i < kCallsPerSize; ++i)
            if (!kel::runReport(kel::ReportKind::Detail, &report))
                return 1;
        const double perCall = (seconds() - start) / kCallsPerSize;
        std::size_t lines = 0;
        for (char16_t c : report)
            lines += c == u'\n';
        const double software = fillMilliseconds(&kel::SoftwareInfo::setSoftwareInfo);
        const double startUp = fillMilliseconds(&kel::StartUpInfo::setStartUpInfo);
        std::printf("%8d %6d %10.1f %9.1f %12.1f %12.1f %7zu\n", programs, runValues,
                    perCall * 1e3, perCall * 1e6 / (programs + runValues), software, startUp,
                    lines);
    }
    return 0;
}
