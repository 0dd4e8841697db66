#include "collectors/OSInfo.h"

#include "MachineUnderTest.h"

#include <cstring>

namespace kel::test {
namespace {

struct VersionCase {
    const char* name;
    const char* versionSection;  // machine.ini text; empty: no [version] at all
    const char* expectedLine;    // what getOSInfo writes
    int expectedType;
};

const VersionCase kVersionCases[] = {
    {"xp_sp1", "platform = 2\nmajor = 5\nminor = 1\nbuild = 2600\ncsd = Service Pack 1\n",
     "Windows XP Version 5.1 Service Pack 1 (Build 2600)", 1},
    {"w2k_no_sp", "platform = 2\nmajor = 5\nminor = 0\nbuild = 2195\n",
     "Windows 2000 Version 5.0  (Build 2195)", 1},
    {"nt351", "platform = 2\nmajor = 3\nminor = 51\nbuild = 1057\ncsd = Service Pack 5\n",
     "Windows NT 3.51 Version 3.51 Service Pack 5 (Build 1057)", 1},
    {"nt4_any_minor", "platform = 2\nmajor = 4\nminor = 7\nbuild = 1381\ncsd = Service Pack 6\n",
     "Windows NT 4.0 Version 4.7 Service Pack 6 (Build 1381)", 1},
    {"nt_52_unnamed", "platform = 2\nmajor = 5\nminor = 2\nbuild = 3790\n", " Version 5.2  (Build 3790)", 1},
    {"nt_60_unnamed", "platform = 2\nmajor = 6\nminor = 0\nbuild = 6002\ncsd = Service Pack 2\n",
     " Version 6.0 Service Pack 2 (Build 6002)", 1},
    {"nt_build_low_16_bits", "platform = 2\nmajor = 5\nminor = 1\nbuild = 65538\n",
     "Windows XP Version 5.1  (Build 2)", 1},
    {"w95_osr2", "platform = 1\nmajor = 4\nminor = 0\nbuild = 67109975\ncsd = \" C\"\n", "Windows 95OSR2", 0},
    {"w95_b", "platform = 1\nmajor = 4\nminor = 0\ncsd = \" B\"\n", "Windows 95B", 0},
    {"w95_plain", "platform = 1\nmajor = 4\nminor = 0\n", "Windows 95", 0},
    {"w95_one_character_csd", "platform = 1\nmajor = 4\nminor = 0\ncsd = a\n", "Windows 95", 0},
    {"w98_se", "platform = 1\nmajor = 4\nminor = 10\ncsd = \" A \"\n", "Windows 98SE", 0},
    {"w98_first", "platform = 1\nmajor = 4\nminor = 10\ncsd = \" \"\n", "Windows 98", 0},
    {"me", "platform = 1\nmajor = 4\nminor = 90\ncsd = \" \"\n", "Windows Me", 0},
    {"w9x_unknown", "platform = 1\nmajor = 4\nminor = 3\n", "", 0},
    {"win32s", "platform = 0\nmajor = 1\nminor = 30\ncsd = x\n", "Microsoft Win32s ", 0},
    {"unknown_platform", "platform = 3\nmajor = 5\nminor = 1\n", "", 0},
    {"short_record_only", "platform = 2\nmajor = 4\nminor = 0\nbuild = 1381\nextended = no\n",
     "Windows NT 4.0 Version 4.0  (Build 1381)", 1},
    {"both_refused", nullptr, "", 0},
    // A compatibility layer's answer: the row and the numbers come from
    // RtlGetVersion on the NT family, the service-pack text from the record.
    {"win11_reported_as_8", "platform = 2\nmajor = 10\nminor = 0\nbuild = 22631\nreported = 6.2.9200\n",
     " Version 10.0  (Build 22631)", 1},
    {"xp_reported_as_2000",
     "platform = 2\nmajor = 5\nminor = 1\nbuild = 2600\nreported = 5.0.2195\n"
     "csd = Service Pack 3\n",
     "Windows XP Version 5.1 Service Pack 3 (Build 2600)", 1},
    {"win7_sp1", "platform = 2\nmajor = 6\nminor = 1\nbuild = 7601\ncsd = Service Pack 1\n",
     " Version 6.1 Service Pack 1 (Build 7601)", 1},
    {"w98_reported_ignored", "platform = 1\nmajor = 4\nminor = 10\nreported = 4.90.3000\n", "Windows Me",
     0},  // no RtlGetVersion off the NT family: the record's numbers count
};

class OSInfoVersions : public ::testing::TestWithParam<VersionCase> {};

TEST_P(OSInfoVersions, DescribesTheVersionRecord)
{
    const VersionCase& c = GetParam();
    std::string ini = c.versionSection ? std::string("[version]\n") + c.versionSection : "";
    MachineUnderTest machine(kRegHeader, ini);
    ASSERT_TRUE(machine);

    OSInfo os;
    EXPECT_EQ(os.setOSInfo(), c.versionSection != nullptr);
    char buffer[1024];
    std::memset(buffer, '#', sizeof buffer);
    os.getOSInfo(buffer, sizeof buffer);
    EXPECT_STREQ(buffer, c.expectedLine);
    EXPECT_EQ(os.getOSType(), c.expectedType);

    // The report prints the same text after its heading.
    EXPECT_EQ(reportOf(*machine, ReportKind::Brief).substr(0, 4 + std::strlen(c.expectedLine) + 1),
              std::string("OS: ") + c.expectedLine + "\n");
}

INSTANTIATE_TEST_SUITE_P(Records, OSInfoVersions, ::testing::ValuesIn(kVersionCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(OSInfo, WritesOnlyWhenDescriptionAndCodeFit)
{
    MachineUnderTest machine(kRegHeader, "[version]\nplatform = 1\nmajor = 4\nminor = 90\n");
    ASSERT_TRUE(machine);
    OSInfo os;
    os.setOSInfo();
    // "Windows Me" (10) + "WINME" (5): 15 bytes leave the buffer alone, 16 write.
    char buffer[32];
    std::strcpy(buffer, "untouched");
    os.getOSInfo(buffer, 15);
    EXPECT_STREQ(buffer, "untouched");
    os.getOSInfo(buffer, 16);
    EXPECT_STREQ(buffer, "Windows Me");
    std::strcpy(buffer, "untouched");
    os.getOSInfo(buffer, -1);
    EXPECT_STREQ(buffer, "untouched") << "a negative size must not count as a huge buffer";
}

TEST(OSInfo, CopiesAreIndependent)
{
    MachineUnderTest machine(kRegHeader, "[version]\nplatform = 2\nmajor = 5\nminor = 0\n");
    ASSERT_TRUE(machine);
    OSInfo original;
    original.setOSInfo();
    OSInfo copy(original);
    OSInfo assigned;
    assigned = original;
    original = OSInfo();
    char a[64], b[64];
    copy.getOSInfo(a, sizeof a);
    assigned.getOSInfo(b, sizeof b);
    EXPECT_STREQ(a, "Windows 2000 Version 5.0  (Build 0)");
    EXPECT_STREQ(b, a);
    EXPECT_EQ(copy.getOSType(), 1);
    EXPECT_EQ(original.getOSType(), 0);
}

}  // namespace
}  // namespace kel::test
