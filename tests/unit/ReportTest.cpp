#include "report/Accessors.h"
#include "report/CollectorSet.h"
#include "report/Report.h"

#include "AllocationFailure.h"
#include "MachineUnderTest.h"

#include <cstring>
#include <thread>
#include <vector>

namespace kel::test {
namespace {

const char* const kXpVersion =
    "[version]\nplatform = 2\nmajor = 5\nminor = 1\nbuild = 2600\ncsd = Service Pack 1\n"
    "[memory]\ntotal_phys = 536330240\n";

// An otherwise empty machine: no processor identification, devices, drives,
// printers, programs or start-up entries.
const char* const kEmptyBrief =
    "OS: Windows XP Version 5.1 Service Pack 1 (Build 2600)\n"
    "CPU:   0Mhz (1CPUs)\n"
    "Memory: 511MB\n"
    "Sound: \n"
    "DirectX: \n";

TEST(Report, BriefOfAnEmptyMachineKeepsItsAlwaysPresentLines)
{
    MachineUnderTest machine(kRegHeader, kXpVersion);
    ASSERT_TRUE(machine);
    EXPECT_EQ(reportOf(*machine, ReportKind::Brief), kEmptyBrief);
}

TEST(Report, DetailAddsTheFourHeadingsEachAfterAnEmptyLine)
{
    MachineUnderTest machine(kRegHeader, kXpVersion);
    ASSERT_TRUE(machine);
    EXPECT_EQ(reportOf(*machine, ReportKind::Detail),
              std::string(kEmptyBrief) + "\nDisks\n\nPrinters\n\nSoftwares\n\nStartup\n");
}

TEST(Report, AccessorsOutsideAReportAnswerMinusOneAndLeaveTheBuffer)
{
    char buffer[16];
    std::strcpy(buffer, "untouched");
    EXPECT_EQ(queryOSInfo(buffer, sizeof buffer), -1);
    EXPECT_EQ(queryCpuInfo(buffer, sizeof buffer), -1);
    EXPECT_EQ(queryMemoryInfo(buffer, sizeof buffer), -1);
    EXPECT_EQ(queryMediaInfo(buffer, sizeof buffer), -1);
    EXPECT_EQ(queryDirectXInfo(buffer, sizeof buffer), -1);
    EXPECT_EQ(queryVgaListCount(), -1);
    EXPECT_EQ(queryVgaDescription(0, buffer, sizeof buffer), -1);
    EXPECT_EQ(queryVgaMemorySize(0), -1);
    EXPECT_EQ(queryNicListCount(), -1);
    EXPECT_EQ(queryNicDescription(0, buffer, sizeof buffer), -1);
    EXPECT_EQ(queryDiskListCount(), -1);
    EXPECT_EQ(queryDiskDescription(0, buffer, sizeof buffer), -1);
    EXPECT_EQ(queryPrinterListCount(), -1);
    EXPECT_EQ(queryPrinterDescription(0, buffer, sizeof buffer), -1);
    EXPECT_EQ(querySoftwareListCount(), -1);
    EXPECT_EQ(querySoftwareDescription(0, buffer, sizeof buffer), -1);
    EXPECT_EQ(queryStartUpListCount(), -1);
    EXPECT_EQ(queryStartUpDescription(0, buffer, sizeof buffer), -1);
    EXPECT_STREQ(buffer, "untouched");
}

TEST(Report, EmptySlotsLeaveOutTheirSectionsWithoutRepeatingStaleText)
{
    MachineUnderTest machine(kRegHeader, kXpVersion);
    ASSERT_TRUE(machine);
    // Only the operating system in its slot: the CPU line must not repeat
    // the OS text left in the report buffer, and the other sections vanish.
    collectorSlots().os = std::make_unique<OSInfo>();
    collectorSlots().os->setOSInfo();
    const std::string text = buildReportText(ReportKind::Detail);
    destroyCollectorSet();
    EXPECT_EQ(text,
              "OS: Windows XP Version 5.1 Service Pack 1 (Build 2600)\nCPU: \n"
              "\nDisks\n\nPrinters\n\nSoftwares\n\nStartup\n");
}

TEST(Report, AnsiTextReachesUtf16ThroughTheMachinesCodePage)
{
    // Korean service-pack text on a code page 949 machine.
    MachineUnderTest machine(kRegHeader,
                             "[system]\ncodepage = 949\n[version]\nplatform = 2\nmajor = 5\n"
                             "minor = 1\nbuild = 2600\ncsd = \xEC\x84\x9C\xEB\xB9\x84\xEC\x8A\xA4 "
                             "\xED\x8C\xA9 1\n");
    ASSERT_TRUE(machine);
    std::u16string text;
    ASSERT_TRUE(runReport(ReportKind::Brief, &text));
    const std::u16string expected = u"OS: Windows XP Version 5.1 \uC11C\uBE44\uC2A4 \uD329 1 (Build 2600)\n";
    EXPECT_EQ(text.substr(0, expected.size()), expected);
}

// A Windows 11 PC as its registry lays it out: the true version behind the
// compatibility answer, a chip beyond the model tables at its rated clock,
// every processor, 32 GB, indirect device names, the WDDM driver key's 64-bit
// memory figure, the replaced graphics card left out, and the default audio
// endpoint for the controller filed under System.
TEST(Report, TodaysWindowsBriefReadsTheTrueLines)
{
    std::string error;
    auto machine = RecordedMachine::load(sampleMachineDir("win11-desktop"), &error);
    ASSERT_TRUE(machine) << error;
    EXPECT_EQ(reportOf(*machine, ReportKind::Brief),
              "OS:  Version 10.0  (Build 22631)\n"
              "CPU: AMD Ryzen 7 1800X 3600Mhz (16CPUs)\n"
              "Memory: 32704MB\n"
              "Vga 0: NVIDIA GeForce RTX 2060, 6144\n"
              "Sound: Realtek(R) Audio\n"
              "DirectX: 4.09.00.0904\n"
              "Nic 0: Realtek USB GbE Family Controller\n");
}

// Task Manager disabled Steam (the 32-bit view's Run key) and Discord (the
// user's): their values remain, and the Startup section leaves them out.
TEST(Report, TodaysWindowsStartupLeavesOutDisabledPrograms)
{
    std::string error;
    auto machine = RecordedMachine::load(sampleMachineDir("win11-desktop"), &error);
    ASSERT_TRUE(machine) << error;
    const std::string report = reportOf(*machine, ReportKind::Detail);
    const std::size_t startup = report.find("\nStartup\n");
    ASSERT_NE(startup, std::string::npos) << report;
    EXPECT_EQ(report.substr(startup),
              "\nStartup\n"
              "%windir%\\system32\\SecurityHealthSystray.exe@SecurityHealth\n"
              "\"C:\\Windows\\System32\\DriverStore\\FileRepository\\realtekservice.inf_amd64\\"
              "RtkAudUService64.exe\" -background@RtkAudUService\n"
              "\"C:\\Users\\kim\\AppData\\Local\\Microsoft\\OneDrive\\OneDrive.exe\" /background@OneDrive\n"
              "Send to OneNote.lnk\n");
}

TEST(Report, OverlappingCallsGiveWholeIdenticalReports)
{
    std::string error;
    auto machine = RecordedMachine::load(sampleMachineDir("xp-desktop"), &error);
    ASSERT_TRUE(machine) << error;
    const std::string reference = reportOf(*machine, ReportKind::Detail);
    const std::string referenceBrief = reportOf(*machine, ReportKind::Brief);

    ScopedPlatform scoped(*machine);
    constexpr int kThreads = 6;
    constexpr int kCalls = 8;
    std::vector<std::vector<std::u16string>> results(kThreads);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&results, t] {
            for (int i = 0; i < kCalls; ++i) {
                std::u16string text;
                runReport(t % 2 ? ReportKind::Brief : ReportKind::Detail, &text);
                results[t].push_back(text);
            }
        });
    }
    for (auto& thread : threads)
        thread.join();
    for (int t = 0; t < kThreads; ++t) {
        const std::string& expected = t % 2 ? referenceBrief : reference;
        for (const std::u16string& text : results[t])
            EXPECT_EQ(std::string(text.begin(), text.end()), expected) << "thread " << t;
    }
}

// Each call of the walk comes after the one that failed the allocation
// before it: it must get past that allocation, and the call that outlasts
// every allocation must give the whole report. So every failure is shown to
// leave the next call working without a whole report call after each, which
// cost twice the walk itself.
TEST(Report, EveryAllocationFailureFailsTheCallCleanlyAndTheNextCallWorks)
{
    std::string error;
    auto machine = RecordedMachine::load(sampleMachineDir("xp-desktop"), &error);
    ASSERT_TRUE(machine) << error;
    const std::string reference = reportOf(*machine, ReportKind::Detail);
    ScopedPlatform scoped(*machine);

    int failures = 0;
    for (long n = 1;; ++n) {
        std::u16string text;
        bool ok;
        {
            FailAllocation failAt(n);
            ok = runReport(ReportKind::Detail, &text);
        }
        if (ok) {
            EXPECT_EQ(std::string(text.begin(), text.end()), reference)
                << "a report that succeeded after a failed allocation " << n << " must be whole";
            if (!FailAllocation::lastArmedFired())
                break;  // every allocation of a call has now been failed once
        } else {
            ++failures;
            ASSERT_TRUE(FailAllocation::lastArmedFired()) << "a call that failed before allocation " << n;
        }
        ASSERT_LT(n, 200000) << "runaway";
    }
    EXPECT_GT(failures, 10) << "the report call should allocate many times";
}

}  // namespace
}  // namespace kel::test
