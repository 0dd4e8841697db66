// How the detailed report grows with the machine: device instance keys and
// uninstall entries of a generated machine (tools/bench/GeneratedMachine).
// A measurement, not a test; scripts/bench runs it and writes the document.
//
//   report_scaling --recorded BASEDIR N...   the report on recorded machines:
//                                            BASEDIR's machine plus N device
//                                            keys and N programs, each N
//                                            (5 calls a size)
//   report_scaling --write-machine BASEDIR N OUTDIR
//                                            writes that machine to OUTDIR
//   report_scaling --write-reg N FILE        the N keys and programs as a
//                                            registry file to import
//   report_scaling --real N [CALLS]          the report on the platform's
//                                            own registry as it is, N telling
//                                            how much was imported into it
//                                            (CALLS a measure, default 3)
//
// Each measured size prints a "report" line (median and fastest of the calls,
// the heap the call used at its peak, the text's length) and a "fill" line a
// collector: its fill alone, the records it filed, the allocations it made
// and the blocks it still holds afterwards (its records), counted by the
// program's own operator new. Fields are name=value.
#include "collectors/CpuInfo.h"
#include "collectors/DeviceInfo.h"
#include "collectors/DirectXInfo.h"
#include "collectors/DiskInfo.h"
#include "collectors/DisplayInfo.h"
#include "collectors/MediaInfo.h"
#include "collectors/MemInfo.h"
#include "collectors/NetworkInfo.h"
#include "collectors/OSInfo.h"
#include "collectors/PrinterInfo.h"
#include "collectors/SoftwareInfo.h"
#include "collectors/StartUpInfo.h"
#include "platform/Platform.h"
#include "recorded/RecordedMachine.h"
#include "report/Report.h"
#include "tools/bench/GeneratedMachine.h"
#include "tools/bench/HeapCount.h"
#include "tools/bench/Timing.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace {

using kel::bench::heapCount;
using kel::bench::median;
using kel::bench::millisecondsSince;

struct FillCost {
    double milliseconds = 0;  // median of the fills
    std::size_t records = 0;
    std::size_t allocations = 0;  // made during one fill
    std::size_t held = 0;         // blocks the collector still holds after it
};

// kCalls fills, each on a fresh collector: their median time, and what the
// last one filed and allocated.
template <class Collector, class Fill, class Count>
FillCost measureFill(int calls, Fill fill, Count count)
{
    FillCost cost;
    std::vector<double> times;
    for (int call = 0; call < calls; ++call) {
        auto collector = std::make_unique<Collector>();
        const kel::bench::HeapCount before = heapCount();
        const auto start = kel::bench::Clock::now();
        fill(*collector);
        const double took = millisecondsSince(start);
        const kel::bench::HeapCount after = heapCount();
        times.push_back(took);
        cost.allocations = after.allocations - before.allocations;
        cost.held = after.blocks - before.blocks;
        cost.records = count(*collector);
    }
    cost.milliseconds = median(times);
    return cost;
}

template <class Collector, class Fill>
FillCost measureFill(int calls, Fill fill)
{
    return measureFill<Collector>(calls, fill, [](Collector&) { return std::size_t{1}; });
}

std::size_t deviceRecords(kel::DeviceInfo& devices)
{
    std::size_t records = 0;
    const kel::DeviceClassList* lists = devices.getSystemDeviceInfo();
    for (int position = 0; position < kel::kDeviceClassListCount; ++position)
        records += lists[position].size();
    return records;
}

template <class Collector>
std::size_t counted(int (Collector::*count)(), Collector& collector)
{
    return static_cast<std::size_t>((collector.*count)());
}

void printFill(int size, const char* name, const FillCost& cost)
{
    std::printf("fill size=%d name=%s ms=%.3f records=%zu allocations=%zu held=%zu\n", size, name,
                cost.milliseconds, cost.records, cost.allocations, cost.held);
}

// Every fill of the report alone, in the report's order; the device lists
// that three of them read are filled once beforehand.
void measureFills(int size, int calls)
{
    kel::OSInfo os;
    os.setOSInfo();
    const bool nt = os.getOSType() != 0;
    kel::DeviceInfo walked;
    walked.setSystemDeviceInfo(nt);
    const kel::DeviceClassList* lists = walked.getSystemDeviceInfo();
    printFill(size, "os", measureFill<kel::OSInfo>(calls, [](kel::OSInfo& c) { c.setOSInfo(); }));
    printFill(size, "cpu", measureFill<kel::CpuInfo>(calls, [](kel::CpuInfo& c) { c.setCpuInfo(); }));
    printFill(size, "memory", measureFill<kel::MemInfo>(calls, [](kel::MemInfo& c) { c.setMemoryInfo(); }));
    printFill(size, "devices",
              measureFill<kel::DeviceInfo>(
                  calls, [nt](kel::DeviceInfo& c) { c.setSystemDeviceInfo(nt); }, deviceRecords));
    printFill(size, "display",
              measureFill<kel::DisplayInfo>(
                  calls, [=](kel::DisplayInfo& c) { c.setDisplayInfo(nt, lists); },
                  [](kel::DisplayInfo& c) { return counted(&kel::DisplayInfo::getVgaListCount, c); }));
    printFill(size, "media",
              measureFill<kel::MediaInfo>(calls, [=](kel::MediaInfo& c) { c.setMediaInfo(nt, lists); }));
    printFill(size, "network",
              measureFill<kel::NetworkInfo>(
                  calls, [=](kel::NetworkInfo& c) { c.setNetworkInfo(nt, lists); },
                  [](kel::NetworkInfo& c) { return counted(&kel::NetworkInfo::getNicListCount, c); }));
    printFill(size, "drives",
              measureFill<kel::DiskInfo>(
                  calls, [](kel::DiskInfo& c) { c.setDiskInfo(); },
                  [](kel::DiskInfo& c) { return counted(&kel::DiskInfo::getDiskListCount, c); }));
    printFill(size, "printers",
              measureFill<kel::PrinterInfo>(
                  calls, [](kel::PrinterInfo& c) { c.setPrinterInfo(); },
                  [](kel::PrinterInfo& c) { return counted(&kel::PrinterInfo::getPrinterListCount, c); }));
    printFill(size, "directx",
              measureFill<kel::DirectXInfo>(calls, [](kel::DirectXInfo& c) { c.setDirectXInfo(); }));
    printFill(size, "programs",
              measureFill<kel::SoftwareInfo>(
                  calls, [](kel::SoftwareInfo& c) { c.setSoftwareInfo(); },
                  [](kel::SoftwareInfo& c) { return counted(&kel::SoftwareInfo::getSoftwareListCount, c); }));
    printFill(size, "startup",
              measureFill<kel::StartUpInfo>(
                  calls, [](kel::StartUpInfo& c) { c.setStartUpInfo(); },
                  [](kel::StartUpInfo& c) { return counted(&kel::StartUpInfo::getStartUpListCount, c); }));
}

// Times the whole detailed report, then every fill alone, calls times each;
// prints a line each. False when a report call failed.
bool measure(int size, int calls)
{
    std::u16string text;
    if (!kel::runReport(kel::ReportKind::Detail, &text))  // warms the caches
        return false;
    std::vector<double> reports;
    std::size_t reportPeak = 0;
    for (int call = 0; call < calls; ++call) {
        kel::bench::resetHeapPeak();
        const std::size_t base = heapCount().bytes;
        const auto start = kel::bench::Clock::now();
        if (!kel::runReport(kel::ReportKind::Detail, &text))
            return false;
        reports.push_back(millisecondsSince(start));
        reportPeak = heapCount().peakBytes - base;
    }
    std::printf("report size=%d ms=%.2f min_ms=%.2f peak_kb=%zu chars=%zu\n", size, median(reports),
                *std::min_element(reports.begin(), reports.end()), reportPeak / 1024, text.size());
    measureFills(size, calls);
    std::fflush(stdout);
    return true;
}

bool readFile(const std::string& path, std::string* contents)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream buffer;
    buffer << in.rdbuf();
    *contents = buffer.str();
    return static_cast<bool>(in);
}

bool writeFile(const std::string& path, const std::string& contents)
{
    std::ofstream out(path, std::ios::binary);
    out << contents;
    return static_cast<bool>(out);
}

// The base machine's files with the generated keys after its own.
bool baseWithGenerated(const std::string& baseDir, int size, std::string* registry, std::string* ini)
{
    if (!readFile(baseDir + "/registry.reg", registry) || !readFile(baseDir + "/machine.ini", ini)) {
        std::fprintf(stderr, "report_scaling: cannot read the machine in %s\n", baseDir.c_str());
        return false;
    }
    *registry += "\n" + kel::bench::GeneratedMachine(size, size).regText(false);
    return true;
}

bool measureRecorded(const std::string& baseDir, const std::vector<int>& sizes, int calls)
{
    for (int size : sizes) {
        std::string registry, ini, error;
        if (!baseWithGenerated(baseDir, size, &registry, &ini))
            return false;
        auto machine = kel::RecordedMachine::parse(registry, ini, &error);
        if (!machine) {
            std::fprintf(stderr, "report_scaling: the generated machine was refused: %s\n", error.c_str());
            return false;
        }
        kel::ScopedPlatform scoped(*machine);
        if (!measure(size, calls))
            return false;
    }
    return true;
}

bool writeMachine(const std::string& baseDir, int size, const std::string& outDir)
{
    std::string registry, ini;
    return baseWithGenerated(baseDir, size, &registry, &ini) &&
           writeFile(outDir + "/registry.reg", registry) && writeFile(outDir + "/machine.ini", ini);
}

int usage()
{
    std::fprintf(stderr,
                 "usage: report_scaling --recorded BASEDIR N... | --write-machine BASEDIR N OUTDIR"
                 " | --write-reg N FILE | --real N [CALLS]\n");
    return 64;
}

int numberArgument(const char* text)
{
    const int number = std::atoi(text);
    return number >= 0 ? number : 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3)
        return usage();
    const std::string mode = argv[1];
    bool ok = false;
    if (mode == "--recorded") {
        std::vector<int> sizes;
        for (int i = 3; i < argc; ++i)
            sizes.push_back(numberArgument(argv[i]));
        ok = measureRecorded(argv[2], sizes, 5);
    } else if (mode == "--write-machine" && argc == 5) {
        ok = writeMachine(argv[2], numberArgument(argv[3]), argv[4]);
    } else if (mode == "--write-reg" && argc == 4) {
        const int size = numberArgument(argv[2]);
        ok = writeFile(argv[3], kel::bench::GeneratedMachine(size, size).regText());
    } else if (mode == "--real" && (argc == 3 || argc == 4)) {
        ok = measure(numberArgument(argv[2]), argc == 4 ? std::max(1, numberArgument(argv[3])) : 3);
    } else {
        return usage();
    }
    if (!ok)
        std::fprintf(stderr, "report_scaling: failed\n");
    return ok ? 0 : 1;
}
