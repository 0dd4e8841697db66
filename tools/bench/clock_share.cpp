// The processor clock measurement's share of a brief report: 100 brief
// reports on the real platform, each watched from the first raise of the
// priority class to the last restore (the clock samples and the little
// between them). A measurement, not a test; scripts/bench runs it.
// Prints name=value fields: medians of the report and of the measurement,
// the median share, and the samples per report.
#include "platform/Platform.h"
#include "platform/win32/Win32Platform.h"
#include "report/Report.h"
#include "tools/bench/Timing.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace {

using kel::bench::Clock;
using kel::bench::median;

constexpr int kReports = 100;

// The real platform, with the clock samples timed and counted.
class ClockWatch : public kel::Win32Platform {
public:
    void startReport()
    {
        samples = 0;
        raised = false;
    }
    // From the first raise to the last restore of this report.
    double measurementMilliseconds() const
    {
        return samples == 0 ? 0 : kel::bench::milliseconds(lastRestore - firstRaise);
    }

    unsigned samples = 0;

    bool setPriorityClass(uint32_t priorityClass) override
    {
        const Clock::time_point now = Clock::now();
        if (priorityClass == kel::kHighPriorityClass) {
            if (samples++ == 0)
                firstRaise = now;
            raised = true;
        } else if (raised) {
            lastRestore = now;
            raised = false;
        }
        return Win32Platform::setPriorityClass(priorityClass);
    }

private:
    bool raised = false;
    Clock::time_point firstRaise;
    Clock::time_point lastRestore;
};

}  // namespace

int main()
{
    ClockWatch watch;
    kel::ScopedPlatform scoped(watch);
    std::vector<double> reports, measurements, shares;
    std::vector<unsigned> samples;
    std::u16string text;
    for (int i = 0; i < kReports; ++i) {
        watch.startReport();
        const Clock::time_point start = Clock::now();
        if (!kel::runReport(kel::ReportKind::Brief, &text)) {
            std::fprintf(stderr, "clock_share: the brief report failed\n");
            return 1;
        }
        const double report = kel::bench::millisecondsSince(start);
        reports.push_back(report);
        measurements.push_back(watch.measurementMilliseconds());
        shares.push_back(watch.measurementMilliseconds() / report);
        samples.push_back(watch.samples);
    }
    std::printf(
        "clock reports=%d brief_ms=%.3f brief_max_ms=%.3f clock_ms=%.3f clock_max_ms=%.3f "
        "clock_share=%.3f samples_min=%u samples_median=%u samples_max=%u\n",
        kReports, median(reports), *std::max_element(reports.begin(), reports.end()), median(measurements),
        *std::max_element(measurements.begin(), measurements.end()), median(shares),
        *std::min_element(samples.begin(), samples.end()), median(samples),
        *std::max_element(samples.begin(), samples.end()));
    return 0;
}
