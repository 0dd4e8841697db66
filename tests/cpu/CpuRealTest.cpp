// The "CPU: " line on the real processor under Wine: the vendor the host's
// processor names, its brand string as a native program on the host reads
// it when the tables do not know it (skipped, saying why, when they do), the
// host's processor count and a nominal clock within 1% of the time-stamp
// counter's rate as the host measured it (but on a processor emulated in
// software, which has no clock to measure); the process keeps its priority
// class; and the "Memory: " line is the host's memory, in both modules.
#include "collectors/CpuBrand.h"
#include "collectors/CpuInfo.h"
#include "platform/Platform.h"
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
    unsigned long long memTotalKb = 0;
    std::string brandString;
};

HostFigures hostFigures()
{
    HostFigures figures;
    FILE* file = std::fopen(KEL_HOST_FIGURES, "r");
    if (file == nullptr) {
        ADD_FAILURE() << "cannot open " << KEL_HOST_FIGURES;
        return figures;
    }
    char model[256] = {};
    if (std::fscanf(file, "%lf %ld %llu kB ", &figures.tscMhz, &figures.processors, &figures.memTotalKb) != 3)
        ADD_FAILURE() << "no figures in " << KEL_HOST_FIGURES;
    if (std::fgets(model, sizeof model, file) != nullptr)
        figures.brandString.assign(model, std::strcspn(model, "\r\n"));
    std::fclose(file);
    return figures;
}

// Twelve characters that the processor answers in three registers, in order.
std::string registerText(unsigned first, unsigned second, unsigned third)
{
    char text[13] = {};
    std::memcpy(text, &first, 4);
    std::memcpy(text + 4, &second, 4);
    std::memcpy(text + 8, &third, 4);
    return text;
}

// The vendor as the processor names itself, read here without the collector.
std::string hostVendorId()
{
    unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
    if (!__get_cpuid(0, &eax, &ebx, &ecx, &edx))
        return "";
    return registerText(ebx, edx, ecx);
}

std::string expectedShortName(const std::string& vendorId)
{
    const struct {
        const char* id;
        const char* shortName;
    } known[] = {
        {"GenuineIntel", "Intel"}, {"AuthenticAMD", "AMD"},    {"CyrixInstead", "Cyrix"},
        {"CentaurHauls", "IDT"},   {"NexGenDriven", "NexGen"}, {"UMC UMC UMC ", "UMC"},
        {"RiseRiseRise", "Rise"},
    };
    for (const auto& k : known) {
        if (vendorId == k.id)
            return k.shortName;
    }
    return "";
}

// Whether QEMU emulates this processor in software: it says so at the
// hypervisor leaf. Its time-stamp counter then follows the host's while the
// code runs many times slower, so a clock measured against it is no clock.
bool emulatedInSoftware()
{
    unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
    __cpuid(1, eax, ebx, ecx, edx);
    if (!(ecx & (1u << 31)))
        return false;
    __cpuid(0x40000000, eax, ebx, ecx, edx);
    return registerText(ebx, ecx, edx) == "TCGTCGTCGTCG";
}

// The line of the brief report starting with heading.
std::string reportLine(const std::string& heading)
{
    std::u16string report;
    EXPECT_TRUE(kel::runReport(kel::ReportKind::Brief, &report));
    const std::string text = "\n" + std::string(report.begin(), report.end());
    const std::size_t at = text.find("\n" + heading);
    if (at == std::string::npos) {
        ADD_FAILURE() << "no " << heading << "line in the report:" << text;
        return "";
    }
    const std::size_t start = at + 1;
    return text.substr(start, text.find('\n', start) - start);
}

// The host's processor signature (leaf 1's EAX), and whether it has the
// brand-string leaves.
struct HostSignature {
    unsigned signature = 0;
    bool hasBrand = false;
};

HostSignature hostSignature()
{
    HostSignature host;
    unsigned ebx = 0, ecx = 0, edx = 0;
    __get_cpuid(1, &host.signature, &ebx, &ecx, &edx);
    host.hasBrand = __get_cpuid_max(kel::cpu::kExtendedLeaves, nullptr) >= kel::cpu::kLastBrandLeaf;
    return host;
}

TEST(CpuReal, ReportLineNamesTheHostsVendorProcessorsAndClock)
{
    const HostFigures host = hostFigures();
    const std::string line = reportLine("CPU: ");
    const std::string head = "CPU: " + expectedShortName(hostVendorId()) + " ";
    EXPECT_EQ(line.compare(0, head.size(), head), 0) << "got [" << line << "], expected it to start [" << head
                                                     << "]; host vendor id \"" << hostVendorId() << "\"";

    const std::size_t clockAt = line.rfind(' ', line.rfind(' ') - 1);
    int mhz = 0;
    long processors = 0;
    ASSERT_EQ(std::sscanf(line.c_str() + clockAt, " %dMhz (%ldCPUs)", &mhz, &processors), 2)
        << "got [" << line << "]";
    EXPECT_EQ(processors, host.processors) << "got [" << line << "]";
    std::printf("%s (host: %.3f MHz, %ld processors)\n", line.c_str(), host.tscMhz, host.processors);
    if (emulatedInSoftware())
        GTEST_SKIP()
            << "the clock: QEMU emulates this processor in software, and its measured clock is no clock";
    EXPECT_LE(std::fabs(mhz - host.tscMhz), host.tscMhz / 100)
        << "got [" << line << "], the host measured " << host.tscMhz << " MHz";
}

// The count comes from GetActiveProcessorCount, which sees every processor
// group; the host's online processors are what it must answer.
TEST(CpuReal, ActiveProcessorCountIsTheHosts)
{
    const HostFigures host = hostFigures();
    EXPECT_EQ(static_cast<long>(kel::platform().activeProcessorCount()), host.processors)
        << "kernel32 lacks GetActiveProcessorCount or answers another count";
}

// A processor beyond the tables is named by its brand string: a native
// program's reading of it on the host, cleaned as the collector cleans it,
// must follow the vendor.
TEST(CpuReal, ModelNameOfAProcessorBeyondTheTablesIsItsBrandString)
{
    const HostSignature signature = hostSignature();
    if (!kel::cpu::beyondModelTables(signature.signature))
        GTEST_SKIP()
            << "the host's processor (signature 0x" << std::hex << signature.signature
            << ") is within the model tables, which name it; the recorded real chips test those names";
    if (!signature.hasBrand)
        GTEST_SKIP() << "the host's processor has no brand-string leaves: the tables' name stays";
    const HostFigures host = hostFigures();
    ASSERT_FALSE(host.brandString.empty()) << "the host's helper read no brand string";
    const std::string vendor = expectedShortName(hostVendorId());
    const std::string head =
        "CPU: " + vendor + " " + kel::cpu::modelNameFromBrand(host.brandString, vendor) + " ";
    const std::string line = reportLine("CPU: ");
    EXPECT_EQ(line.compare(0, head.size(), head), 0) << "got [" << line << "], expected it to start [" << head
                                                     << "]; host brand string \"" << host.brandString << "\"";
}

// The whole memory, in megabytes rounded to nearest, in the 32-bit module as
// in the 64-bit one (GlobalMemoryStatus would give a 32-bit process 2048MB).
// Wine reports one page less than the kernel's MemTotal, hence the 1 MB of
// slack.
TEST(MemoryReal, ReportLineIsTheHostsMemory)
{
    const HostFigures host = hostFigures();
    const std::string line = reportLine("Memory: ");
    unsigned long long mb = 0;
    ASSERT_EQ(std::sscanf(line.c_str(), "Memory: %lluMB", &mb), 1) << "got [" << line << "]";
    const unsigned long long hostMb = (host.memTotalKb + 512) / 1024;
    EXPECT_LE(mb, hostMb) << "got [" << line << "], host MemTotal " << host.memTotalKb << " kB";
    EXPECT_GE(mb + 1, hostMb) << "got [" << line << "], host MemTotal " << host.memTotalKb << " kB";
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
