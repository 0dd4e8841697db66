// machine.ini: its syntax, the defaults of every section, and one message
// naming the file, the line and the problem for every kind of bad input.

#include "RecordedTestSupport.h"

#include "recorded/IniFile.h"

#include <cstring>
#include <limits>

namespace kel {
namespace {

using test::errorOf;

TEST(IniFile, SyntaxOfSectionsKeysCommentsAndQuotes)
{
    IniFile ini;
    std::string error;
    ASSERT_TRUE(
        ini.parse("\xEF\xBB\xBF; comment\r\n# another\n[one]\n  key = value with blanks  \n"
                  "quoted = \"  kept  \"\nempty =\nslashes = \\\\srv\\queue\n\n[ two ]\nx=1",
                  "m.ini", &error))
        << error;
    ASSERT_EQ(ini.sections().size(), 2u);
    const IniFile::Section* one = ini.find("one");
    ASSERT_TRUE(one);
    ASSERT_EQ(one->entries.size(), 4u);
    EXPECT_EQ(one->entries[0].value, "value with blanks");
    EXPECT_EQ(one->entries[0].line, 4u);
    EXPECT_EQ(one->entries[1].value, "  kept  ");
    EXPECT_EQ(one->entries[2].value, "");
    EXPECT_EQ(one->entries[3].value, "\\\\srv\\queue") << "no escapes";
    ASSERT_TRUE(ini.find("two"));
    EXPECT_EQ(ini.find("two")->entries[0].value, "1");
    EXPECT_FALSE(ini.find("three"));
}

TEST(MachineIni, EmptyFileGivesTheDefaults)
{
    MachineUnderTest machine("", "");
    ASSERT_TRUE(machine);
    EXPECT_EQ(machine->ansiCodePage(), 1252u);
    SystemInfo info;
    machine->getSystemInfo(&info);
    EXPECT_EQ(info.numberOfProcessors, 1u);
    EXPECT_EQ(info.pageSize, 4096u);
    EXPECT_EQ(info.allocationGranularity, 65536u);
    EXPECT_TRUE(machine->hasDiskFreeSpaceEx());
    EXPECT_FALSE(machine->isWindows64());
    VersionRecord record;
    record.infoSize = kVersionRecordExSize;
    EXPECT_FALSE(machine->getVersion(&record)) << "no [version] section: both queries fail";
    record.infoSize = kVersionRecordSize;
    EXPECT_FALSE(machine->getVersion(&record));
    MemoryStatus memory;
    memory.totalPhys = 5;
    machine->globalMemoryStatus(&memory);
    EXPECT_EQ(memory.totalPhys, 0u);
    EXPECT_TRUE(machine->hasCpuid());
    EXPECT_TRUE(machine->hasTimeStampCounter());
    int64_t frequency = 7;
    EXPECT_FALSE(machine->queryPerformanceFrequency(&frequency));
    EXPECT_EQ(frequency, 0);
    EXPECT_EQ(machine->getScreenCaps().horzRes, 0);
    EXPECT_EQ(machine->mediaDeviceCount(MediaFamily::WaveOut), 0u);
}

TEST(MachineIni, VersionRecordAndItsTwoSizes)
{
    MachineUnderTest machine("",
                             "[version]\nplatform = 1\nmajor = 4\nminor = 10\nbuild = 67766446\n"
                             "csd = \" A \"\nextended = no\n");
    ASSERT_TRUE(machine);
    VersionRecord record;
    record.infoSize = kVersionRecordExSize;
    EXPECT_FALSE(machine->getVersion(&record)) << "extended = no refuses the 156-byte record";
    record.infoSize = kVersionRecordSize;
    ASSERT_TRUE(machine->getVersion(&record));
    EXPECT_EQ(record.platformId, 1u);
    EXPECT_EQ(record.majorVersion, 4u);
    EXPECT_EQ(record.minorVersion, 10u);
    EXPECT_EQ(record.buildNumber, 67766446u);
    EXPECT_STREQ(record.csdVersion, " A ");
    record.infoSize = 100;
    EXPECT_FALSE(machine->getVersion(&record));

    MachineUnderTest extended("", "[version]\nplatform = 2\n");
    ASSERT_TRUE(extended);
    record.infoSize = kVersionRecordExSize;
    ASSERT_TRUE(extended->getVersion(&record));
    EXPECT_EQ(record.platformId, 2u);
    EXPECT_EQ(record.buildNumber, 0u);
    EXPECT_STREQ(record.csdVersion, "");
}

TEST(MachineIni, CsdTextInTheCodePageUpTo127Bytes)
{
    MachineUnderTest machine(
        "", "[system]\ncodepage = 949\n[version]\ncsd = \xEA\xB0\x80" + std::string(125, 'x') + "\n");
    ASSERT_TRUE(machine);
    VersionRecord record;
    record.infoSize = kVersionRecordSize;
    ASSERT_TRUE(machine->getVersion(&record));
    EXPECT_EQ(std::strlen(record.csdVersion), 127u);
    EXPECT_EQ(std::string(record.csdVersion, 2), "\xB0\xA1");
}

TEST(MachineIni, MemoryFiguresUpTo64Bits)
{
    MachineUnderTest machine("",
                             "[memory]\nload = 37\ntotal_phys = 18446744073709551615\navail_phys = 2\n"
                             "total_page_file = 3\navail_page_file = 4\ntotal_virtual = 5\n"
                             "avail_virtual = 6\n");
    ASSERT_TRUE(machine);
    MemoryStatus memory;
    ASSERT_TRUE(machine->globalMemoryStatusEx(&memory)) << "extended_memory_status defaults to yes";
    EXPECT_EQ(memory.memoryLoad, 37u);
    EXPECT_EQ(memory.totalPhys, std::numeric_limits<uint64_t>::max());
    EXPECT_EQ(memory.availPhys, 2u);
    EXPECT_EQ(memory.totalPageFile, 3u);
    EXPECT_EQ(memory.availPageFile, 4u);
    EXPECT_EQ(memory.totalVirtual, 5u);
    EXPECT_EQ(memory.availVirtual, 6u);
    // The older query cuts each figure to 32 bits.
    MemoryStatus cut;
    machine->globalMemoryStatus(&cut);
    EXPECT_EQ(cut.totalPhys, 4294967295u);
    EXPECT_EQ(cut.availPhys, 2u);
    EXPECT_EQ(cut.memoryLoad, 37u);

    MachineUnderTest without("", "[system]\nextended_memory_status = no\n[memory]\ntotal_phys = 5\n");
    ASSERT_TRUE(without);
    EXPECT_FALSE(without->globalMemoryStatusEx(&memory));
}

TEST(MachineIni, ReportedVersion)
{
    MachineUnderTest machine("",
                             "[version]\nplatform = 2\nmajor = 10\nminor = 0\nbuild = 22631\n"
                             "reported = 6.2.4294967295\n");
    ASSERT_TRUE(machine);
    VersionRecord record;
    record.infoSize = kVersionRecordExSize;
    ASSERT_TRUE(machine->getVersion(&record));
    EXPECT_EQ(record.majorVersion, 6u);
    EXPECT_EQ(record.minorVersion, 2u);
    EXPECT_EQ(record.buildNumber, 4294967295u);
    uint32_t major = 0, minor = 0, build = 0;
    ASSERT_TRUE(machine->getTrueVersion(&major, &minor, &build));
    EXPECT_EQ(major, 10u);
    EXPECT_EQ(minor, 0u);
    EXPECT_EQ(build, 22631u);

    MachineUnderTest nt351("", "[version]\nplatform = 2\nmajor = 3\nminor = 51\nbuild = 1057\n");
    ASSERT_TRUE(nt351);
    EXPECT_TRUE(nt351->getTrueVersion(&major, &minor, &build)) << "every NT machine has RtlGetVersion";
    EXPECT_EQ(minor, 51u);
    MachineUnderTest w98("", "[version]\nplatform = 1\nmajor = 4\nminor = 10\n");
    ASSERT_TRUE(w98);
    EXPECT_FALSE(w98->getTrueVersion(&major, &minor, &build)) << "no ntdll on the 95 family";
    MachineUnderTest none("", "");
    ASSERT_TRUE(none);
    EXPECT_FALSE(none->getTrueVersion(&major, &minor, &build));

    for (const char* bad : {"", "6.2", "6.2.9200.1", "6..9200", "6.2.4294967296", "a.b.c", "6.2.-1"}) {
        std::string error;
        EXPECT_FALSE(RecordedMachine::parse("", std::string("[version]\nreported = ") + bad + "\n", &error))
            << "reported = " << bad;
        EXPECT_NE(error.find("line 2"), std::string::npos) << error;
    }
}

TEST(MachineIni, SystemSection)
{
    MachineUnderTest machine("",
                             "[system]\ncodepage = 949\nprocessors = 2\npage_size = 8192\n"
                             "allocation_granularity = 4096\nextended_free_space = no\nwindows64 = yes\n");
    ASSERT_TRUE(machine);
    SystemInfo info;
    machine->getSystemInfo(&info);
    EXPECT_EQ(info.numberOfProcessors, 2u);
    EXPECT_EQ(info.pageSize, 8192u);
    EXPECT_EQ(info.allocationGranularity, 4096u);
    EXPECT_EQ(machine->ansiCodePage(), 949u);
    EXPECT_FALSE(machine->hasDiskFreeSpaceEx());
    EXPECT_TRUE(machine->isWindows64());
    std::u16string wide;
    ASSERT_TRUE(machine->ansiToUtf16("\xB0\xA1!", 3, &wide));
    EXPECT_EQ(wide, u"\uAC00!");
}

TEST(MachineIni, ScreenSection)
{
    MachineUnderTest machine("",
                             "[screen]\nlogpixelsy = 96\nhorzres = 1024\nvertres = 768\nbitspixel = 32\n"
                             "technology = 1\nhorzsize = 320\nvertsize = 240\naspectx = 36\naspecty = 36\n"
                             "aspectxy = -51\n");
    ASSERT_TRUE(machine);
    ScreenCaps caps = machine->getScreenCaps();
    const int got[] = {caps.logPixelsY, caps.horzRes,  caps.vertRes, caps.bitsPixel, caps.technology,
                       caps.horzSize,   caps.vertSize, caps.aspectX, caps.aspectY,   caps.aspectXY};
    const int expected[] = {96, 1024, 768, 32, 1, 320, 240, 36, 36, -51};
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(got[i], expected[i]) << "capability " << i;
}

struct BadIni {
    std::string text;
    std::string message;
};

TEST(MachineIni, RejectsBadInputWithOneMessage)
{
    const BadIni cases[] = {
        {"key = 1\n", "machine.ini, line 1: key before any [section] line"},
        {"[system\n", "machine.ini, line 1: section line without its closing ]"},
        {"[sys tem]\n", "machine.ini, line 1: bad section name \"sys tem\""},
        {"[system]\n[system]\n", "machine.ini, line 2: section [system] given twice"},
        {"[system]\njust words\n",
         "machine.ini, line 2: expected [section] or key = value, found \"just words\""},
        {"[system]\n = 1\n", "machine.ini, line 2: bad key name \"\""},
        {"[system]\ncodepage = 1252\ncodepage = 949\n",
         "machine.ini, line 3: key codepage given twice in [system] "
         "(first on line 2)"},
        {"[version]\ncsd = \"open\n", "machine.ini, line 2: value without its closing quote: \"\"open\""},
        {"[version]\ncsd = \xC3\x28\n", "machine.ini, line 2: not valid UTF-8"},
        {"[sytem]\n",
         "machine.ini, line 1: unknown section [sytem] (system, version, memory, cpu, screen, media, "
         "drives, printers, shell, identity, adapters, firmware)"},
        {"[system]\ncode_page = 1252\n", "machine.ini, line 2: unknown key code_page in [system]"},
        {"[system]\ncodepage = 12345\n", "machine.ini, line 2: code page 12345 is not known"},
        {"[system]\nprocessors = two\n",
         "machine.ini, line 2: bad number \"two\" for processors (0 to 4294967295)"},
        {"[system]\nprocessors = 4294967296\n",
         "machine.ini, line 2: bad number \"4294967296\" for processors (0 to "
         "4294967295)"},
        {"[system]\nprocessors = " + std::string(50, '9') + "\n",
         "machine.ini, line 2: bad number \"" + std::string(40, '9') +
             "...\" for processors (0 to 4294967295)"},
        {"[system]\nprocessors =\n", "machine.ini, line 2: bad number \"\" for processors (0 to 4294967295)"},
        {"[system]\nwindows64 = true\n", "machine.ini, line 2: windows64 must be yes or no, not \"true\""},
        {"[version]\nbuild = -1\n", "machine.ini, line 2: bad number \"-1\" for build (0 to 4294967295)"},
        {"[version]\ncsd = " + std::string(128, 'c') + "\n",
         "machine.ini, line 2: csd is longer than 127 bytes"},
        {"[memory]\ntotal_phys = 18446744073709551616\n",
         "machine.ini, line 2: bad number \"18446744073709551616\" "
         "for total_phys (0 to 2^64-1)"},
        {"[screen]\nhorzres = 2147483648\n",
         "machine.ini, line 2: bad number \"2147483648\" for horzres (a signed "
         "32-bit number)"},
        {"[screen]\ncolors = 1\n", "machine.ini, line 2: unknown key colors in [screen]"},
        {"[screen]\nhorzres = 1\x0b"
         "2\n",
         "machine.ini, line 2: bad number \"1?2\" for horzres (a signed 32-bit "
         "number)"},
    };
    for (const BadIni& bad : cases)
        EXPECT_EQ(errorOf("", bad.text), bad.message) << "input: " << bad.text;
}

TEST(MachineIni, NegativeScreenFigureAtTheLimit)
{
    MachineUnderTest machine("", "[screen]\naspectxy = -2147483648\n");
    ASSERT_TRUE(machine);
    EXPECT_EQ(machine->getScreenCaps().aspectXY, std::numeric_limits<int>::min());
}

TEST(RecordedMachineLoad, MissingFilesAreNamed)
{
    std::string error;
    EXPECT_FALSE(RecordedMachine::load("/nonexistent/machine", &error));
    EXPECT_EQ(error, "/nonexistent/machine/registry.reg: cannot open the file");
}

TEST(RecordedMachineLoad, SampleMachinesLoad)
{
    for (const char* name : {"xp-desktop", "win98se"}) {
        std::string error;
        auto machine = RecordedMachine::load(std::string(KEL_SOURCE_DIR) + "/machines/" + name, &error);
        EXPECT_TRUE(machine) << name << ": " << error;
    }
}

}  // namespace
}  // namespace kel
