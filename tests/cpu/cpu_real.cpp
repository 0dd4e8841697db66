// The "CPU: " line on the real processor under Wine: the vendor the host's
// processor names, the host's processor count and a nominal clock within 1%
// of the time-stamp counter's rate as the host measured it; and the process
// keeps its priority class.
#include "collectors/CpuInfo.h"
#include "report/Report.h"

#include <gtest/gtest.h>

#include <cpuid.h>
#include <windows.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

struct HostFigures {
    double tscMhz = 0;
    long processors = 0;
};

HostFigures hostFigures()
{
    HostFigures figures;
    FILE* file = std::fopen(KEL_HOST_FIGURES, "r");
    if (file == nullptr) {
        ADD_FAILURE() << "cannot open " << KEL_HOST_FIGURES;
        return figures;
    }
    if (std::fscanf(file, "%lf %ld", &figures.tscMhz, &figures.processors) != 2)
        ADD_FAILURE() << "no figures in " << KEL_HOST_FIGURES;
    std::fclose(file);
    return figures;
}

// The vendor as the processor names itself, read here without the collector.
std::string hostVendorId()
{
    unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
    if (!__get_cpuid(0, &eax, &ebx, &ecx, &edx))
        return "";
    char id[13] = {};
    std::memcpy(id, &ebx, 4);
    std::memcpy(id + 4, &edx, 4);
    std::memcpy(id + 8, &ecx, 4);
    return id;
}

std::string expectedShortName(const std::string& vendorId)
{
    const struct {
        const char* id;
        const char* shortName;
    } known[] = {
        {"GenuineIntel", "Intel"}, {"AuthenticAMD", "AMD"},   {"CyrixInstead", "Cyrix"},
        {"CentaurHauls", "IDT"},   {"NexGenDriven", "NexGen"}, {"UMC UMC UMC ", "UMC"},
        {"RiseRiseRise", "Rise"},
    };
    for (const auto& k : known) {
        if (vendorId == k.id)
            return k.shortName;
    }
    return "";
}

std::string cpuLineOfReport()
{
    std::u16string report;
    EXPECT_TRUE(kel::runReport(kel::ReportKind::Brief, &report));
    const std::string text(report.begin(), report.end());
    const std::size_t at = text.find("\nCPU: ");
    if (at == std::string::npos) {
        ADD_FAILURE() << "no CPU line in the report:\n" << text;
        return "";
    }
    const std::size_t start = at + 1;
    return text.substr(start, text.find('\n', start) - start);
}

TEST(CpuReal, ReportLineNamesTheHostsProcessor)
{
    const HostFigures host = hostFigures();
    const std::string line = cpuLineOfReport();
    const std::string vendor = expectedShortName(hostVendorId());
    const std::string head = "CPU: " + vendor + " ";
    EXPECT_EQ(line.compare(0, head.size(), head), 0)
        << "got [" << line << "], host vendor id \"" << hostVendorId() << "\"";

    const std::size_t clockAt = line.rfind(' ', line.rfind(' ') - 1);
    int mhz = 0;
    long processors = 0;
    ASSERT_EQ(std::sscanf(line.c_str() + clockAt, " %dMhz (%ldCPUs)", &mhz, &processors), 2)
        << "got [" << line << "]";
    EXPECT_EQ(processors, host.processors) << "got [" << line << "]";
    EXPECT_LE(std::fabs(mhz - host.tscMhz), host.tscMhz / 100)
        << "got [" << line << "], the host measured " << host.tscMhz << " MHz";
    std::printf("%s (host: %.3f MHz, %ld processors)\n", line.c_str(), host.tscMhz,
                host.processors);
}

TEST(CpuReal, PriorityClassIsTheSameAfterwards)
{
    for (DWORD own : {BELOW_NORMAL_PRIORITY_CLASS, NORMAL_PRIORITY_CLASS, IDLE_PRIORITY_CLASS}) {
        ASSERT_TRUE(SetPriorityClass(GetCurrentProcess(), own));
        kel::CpuInfo cpu;
        cpu.setCpuInfo();
        EXPECT_EQ(GetPriorityClass(GetCurrentProcess()), own) << "process started at 0x" << std::hex << own;
    }
    SetPriorityClass(GetCurrentProcess(), NORMAL_PRIORITY_CLASS);
}

}  // namespace
