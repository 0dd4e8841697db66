// The drive, printer, program, DirectX and start-up parts of the detailed
// report of each sample machine.
#include "TestMachine.h"

#include <gtest/gtest.h>

#include <string>

namespace kel::test {
namespace {

struct SampleCase {
    const char* machine;
    const char* directXLine;
    const char* listSections;  // from the empty line before "Disks" to the end
};

const SampleCase kSamples[] = {
    {"xp-desktop", "DirectX: 4.09.00.0904\n",
     "\nDisks\n"
     "A:\\(REMOVABLE)\n"
     "C:\\(FIXED, NTFS, 20002MB/7168MB)\n"
     "D:\\(FIXED, FAT32, 18135MB/11264MB)\n"
     "E:\\(CD-ROM)\n"
     "Z:\\(NETWORK DRIVE)\n"
     "\nPrinters\n"
     "Printer 0: HP LaserJet 1200 Series PCL\n"
     "Printer 1: \\\\OFFICE-SRV\\Samsung ML-2010\n"
     "\nSoftwares\n"
     "Adobe Reader 6.0.1\n"
     "AhnLab V3Pro 2004\n"
     "Hangul 2002\n"
     "Windows XP Hotfix - KB823980\n"
     "Windows XP Hotfix - KB828035\n"
     "\n"
     "WinZip\n"
     "Microsoft Office XP Professional\n"
     "Adobe Reader 6.0.1\n"
     "\nStartup\n"
     "C:\\Program Files\\AhnLab\\V3\\V3Tray.exe@AhnLab V3\n"
     "\"C:\\Program Files\\Analog Devices\\SoundMAX\\Smax4.exe\" /tray@SoundMAX\n"
     "C:\\Program Files\\Java\\j2re1.4.2_03\\bin\\jusched.exe@SunJavaUpdateSched\n"
     "\"C:\\Program Files\\Messenger\\msmsgs.exe\" /background@MSMSGS\n"
     "C:\\Program Files\\NATEON\\NateOnMain.exe /tray@NateOn\n"
     "C:\\WINDOWS\\$NtUninstallKB828035$\\spuninst\\cleanup.exe@KB828035\n"
     "C:\\WINDOWS\\system32\\oobe\\msoobe.exe /A@Welcome\n"
     "NateOn.lnk\n"
     "Adobe Reader Speed Launch.lnk\n"
     "Microsoft Office.lnk\n"},
    {"win98se", "DirectX: 4.06.03.0518\n",
     "\nDisks\n"
     "A:\\(REMOVABLE)\n"
     "C:\\(FIXED, FAT32, 6149MB/1792MB)\n"
     "D:\\(CD-ROM)\n"
     "N:\\(NETWORK DRIVE)\n"
     "\nPrinters\n"
     "Printer 0: Canon BJC-4300\n"
     "Printer 1: \\\\HOME-PC\\HP DeskJet 690C\n"
     "\nSoftwares\n"
     "Adobe Acrobat Reader 4.0\n"
     "Internet Explorer 5.0 and Internet Tools\n"
     "StarCraft\n"
     "Winamp (remove only)\n"
     "\nStartup\n"
     "C:\\WINDOWS\\scanregw.exe /autorun@ScanRegistry\n"
     "C:\\WINDOWS\\taskmon.exe@TaskMonitor\n"
     "SysTray.Exe@SystemTray\n"
     "Rundll32.exe powrprof.dll,LoadCurrentPwrScheme@LoadPowerProfile\n"
     "C:\\Program Files\\ICQ\\ICQ.exe -minimize@ICQ\n"
     "C:\\WINDOWS\\REGEDIT.EXE /s C:\\WINDOWS\\SYSBCKUP\\RBFF.REG@Regedit\n"
     "C:\\WINDOWS\\TOUR98.EXE /first@Tour\n"
     "ICQ.lnk\n"
     "Winamp agent.lnk\n"},
};

class SampleMachine : public testing::TestWithParam<SampleCase> {};

TEST_P(SampleMachine, DetailedReportListsWhatTheMachineHolds)
{
    std::string error;
    auto machine = RecordedMachine::load(sampleMachineDir(GetParam().machine), &error);
    ASSERT_TRUE(machine) << error;
    const std::string report = reportOf(*machine, ReportKind::Detail);
    const std::size_t lists = report.find("\nDisks\n");
    ASSERT_NE(std::string::npos, lists) << report;
    EXPECT_EQ(GetParam().listSections, report.substr(lists));
    EXPECT_NE(std::string::npos, report.find("\n" + std::string(GetParam().directXLine))) << report;
    EXPECT_EQ(0u, machine->openKeyCount());
    EXPECT_EQ(0u, machine->openSearchCount());
}

TEST_P(SampleMachine, BriefReportCarriesOnlyTheDirectXLineOfThese)
{
    std::string error;
    auto machine = RecordedMachine::load(sampleMachineDir(GetParam().machine), &error);
    ASSERT_TRUE(machine) << error;
    const std::string report = reportOf(*machine, ReportKind::Brief);
    EXPECT_NE(std::string::npos, report.find("\n" + std::string(GetParam().directXLine))) << report;
    EXPECT_EQ(std::string::npos, report.find("Disks")) << report;
}

INSTANTIATE_TEST_SUITE_P(Samples, SampleMachine, testing::ValuesIn(kSamples),
                         [](const testing::TestParamInfo<SampleCase>& info) {
                             std::string name = info.param.machine;
                             for (char& c : name)
                                 if (c == '-')
                                     c = '_';
                             return name;
                         });

}  // namespace
}  // namespace kel::test
