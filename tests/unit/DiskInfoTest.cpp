#include "collectors/DiskInfo.h"
#include "CollectorPeers.h"
#include "MachineUnderTest.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace kel {

namespace {

std::vector<std::string> driveTexts(DiskInfo& info)
{
    std::vector<std::string> texts;
    for (int i = 0; i < info.getDiskListCount(); ++i) {
        char buffer[1024] = "untouched";
        EXPECT_EQ(1, info.getDiskDescription(i, buffer, sizeof buffer)) << "entry " << i;
        texts.push_back(buffer);
    }
    return texts;
}

std::vector<std::string> gather(const std::string& drives, const std::string& systemLines = "")
{
    MachineUnderTest m(regFile(""), iniFile("[drives]\n" + drives, systemLines));
    DiskInfo info;
    info.setDiskInfo();
    return driveTexts(info);
}

const char kThreeDrives[] =
    "drive.A = 2\n"
    "drive.C = 3\n"
    "drive.C.total_bytes = 40000000000\n"
    "drive.C.free_bytes = 12618760192\n"
    "drive.C.caller_free_bytes = 12000000000\n"
    "drive.C.label = SYSTEM\n"
    "drive.C.file_system = NTFS\n"
    "drive.C.serial = 0A1B2C3D\n"
    "drive.D = 5\n";

TEST(DiskInfo, ListsDrivesInPlatformOrderWithSpaceOnlyForFixed)
{
    EXPECT_EQ(
        (std::vector<std::string>{"A:\\(REMOVABLE)", "C:\\(FIXED, NTFS, 38146MB/12034MB)", "D:\\(CD-ROM)"}),
        gather(kThreeDrives));
}

TEST(DiskInfo, KeepsEveryFieldOfTheExtendedQuery)
{
    MachineUnderTest m(regFile(""), iniFile(std::string("[drives]\n") + kThreeDrives));
    DiskInfo info;
    info.setDiskInfo();
    ASSERT_EQ(3, info.getDiskListCount());
    const DiskDrive& c = DiskInfoPeer::drive(info, 1);
    EXPECT_EQ("12000000000", c.callerFreeBytes);
    EXPECT_EQ("40000000000", c.totalBytes);
    EXPECT_EQ("12618760192", c.totalFreeBytes);
    EXPECT_EQ("38146", c.totalMegabytes);
    EXPECT_EQ("12034", c.freeMegabytes);
    EXPECT_EQ("SYSTEM", c.volumeLabel);
    EXPECT_EQ("A1B2C3D", c.volumeSerial) << "no leading zero, upper case";
    EXPECT_EQ("", c.sectorsPerCluster) << "the older query's fields stay empty";
    const DiskDrive& a = DiskInfoPeer::drive(info, 0);
    EXPECT_EQ("0", a.sectorsPerCluster);
    EXPECT_EQ("0", a.bytesPerSector);
    EXPECT_EQ("0", a.freeClusters);
    EXPECT_EQ("0", a.totalClusters);
    EXPECT_EQ("", a.totalMegabytes);
    EXPECT_EQ("", a.volumeSerial);
}

TEST(DiskInfo, OlderSpaceQueryWrapsItsProductsAt32Bits)
{
    // 64 * 512 * 200000 = 6553600000 bytes wrap to 2258632704: 2154 MB.
    MachineUnderTest m(regFile(""), iniFile("[drives]\n"
                                            "drive.C = 3\n"
                                            "drive.C.sectors_per_cluster = 64\n"
                                            "drive.C.bytes_per_sector = 512\n"
                                            "drive.C.total_clusters = 200000\n"
                                            "drive.C.free_clusters = 30000\n"
                                            "drive.C.file_system = FAT32\n"
                                            "drive.C.serial = FFFFFFFF\n",
                                            "extended_free_space = no\n"));
    DiskInfo info;
    info.setDiskInfo();
    EXPECT_EQ((std::vector<std::string>{"C:\\(FIXED, FAT32, 2154MB/937MB)"}), driveTexts(info));
    const DiskDrive& c = DiskInfoPeer::drive(info, 0);
    EXPECT_EQ("64", c.sectorsPerCluster);
    EXPECT_EQ("512", c.bytesPerSector);
    EXPECT_EQ("30000", c.freeClusters);
    EXPECT_EQ("200000", c.totalClusters);
    EXPECT_EQ("", c.totalBytes) << "the extended query's fields stay empty";
    EXPECT_EQ("FFFFFFFF", c.volumeSerial);
}

struct DriveCase {
    const char* what;
    const char* drives;
    const char* expected;
};

class DriveText : public testing::TestWithParam<DriveCase> {};

TEST_P(DriveText, Reads)
{
    EXPECT_EQ(std::vector<std::string>{GetParam().expected}, gather(GetParam().drives)) << GetParam().what;
}

INSTANTIATE_TEST_SUITE_P(
    DiskInfo, DriveText,
    testing::Values(DriveCase{"failing space query shows zero figures",
                              "drive.E = 3\ndrive.E.space = fail\ndrive.E.file_system = FAT32\n",
                              "E:\\(FIXED, FAT32, 0MB/0MB)"},
                    DriveCase{"failing volume query leaves the file system empty",
                              "drive.F = 3\ndrive.F.total_bytes = 104857600\ndrive.F.free_bytes = 52428800\n"
                              "drive.F.file_system = NTFS\ndrive.F.volume = fail\n",
                              "F:\\(FIXED, , 100MB/50MB)"},
                    DriveCase{"type code outside the table", "drive.G = 9\n", "G:\\()"},
                    DriveCase{"unknown type", "drive.H = 0\n", "H:\\(UNKNOWN)"},
                    DriveCase{"invalid root", "drive.I = 1\n", "I:\\(ROOT NOT EXIST)"},
                    DriveCase{"network drive", "drive.N = 4\n", "N:\\(NETWORK DRIVE)"},
                    DriveCase{"RAM disk", "drive.R = 6\n", "R:\\(RAM DISK)"},
                    DriveCase{"not fixed gets no space even with figures",
                              "drive.D = 5\ndrive.D.total_bytes = 681574400\ndrive.D.file_system = CDFS\n",
                              "D:\\(CD-ROM)"}),
    [](const testing::TestParamInfo<DriveCase>& info) { return "case" + std::to_string(info.index); });

TEST(DiskInfo, VolumeFailureLeavesLabelAndSerialEmpty)
{
    MachineUnderTest m(regFile(""), iniFile("[drives]\ndrive.F = 3\ndrive.F.label = DATA\n"
                                            "drive.F.serial = 1234\ndrive.F.volume = fail\n"));
    DiskInfo info;
    info.setDiskInfo();
    ASSERT_EQ(1, info.getDiskListCount());
    EXPECT_EQ("", DiskInfoPeer::drive(info, 0).volumeLabel);
    EXPECT_EQ("", DiskInfoPeer::drive(info, 0).volumeSerial);
}

TEST(DiskInfo, DescriptionRejectsIndexOutsideAndBufferTooSmall)
{
    MachineUnderTest m(regFile(""), iniFile(std::string("[drives]\n") + kThreeDrives));
    DiskInfo info;
    info.setDiskInfo();
    char buffer[64];
    std::strcpy(buffer, "untouched");
    EXPECT_EQ(-1, info.getDiskDescription(-1, buffer, sizeof buffer));
    EXPECT_EQ(-1, info.getDiskDescription(3, buffer, sizeof buffer));
    const int length = static_cast<int>(std::strlen("D:\\(CD-ROM)"));
    EXPECT_EQ(-1, info.getDiskDescription(2, buffer, length));
    EXPECT_STREQ("untouched", buffer);
    EXPECT_EQ(1, info.getDiskDescription(2, buffer, length + 1));
    EXPECT_STREQ("D:\\(CD-ROM)", buffer);
}

TEST(DiskInfo, WholeListJoinsWithoutOuterSeparators)
{
    MachineUnderTest m(regFile(""), iniFile("[drives]\ndrive.A = 2\ndrive.D = 5\n"));
    DiskInfo info;
    char buffer[64] = "untouched";
    EXPECT_EQ(1, info.getDiskInfo(buffer, sizeof buffer));
    EXPECT_STREQ("", buffer) << "empty object";
    info.setDiskInfo();
    EXPECT_EQ(1, info.getDiskInfo(buffer, sizeof buffer));
    EXPECT_STREQ("A:\\(REMOVABLE)|D:\\(CD-ROM)", buffer);
    std::strcpy(buffer, "untouched");
    const int joinedLength = static_cast<int>(std::strlen("A:\\(REMOVABLE)|D:\\(CD-ROM)"));
    EXPECT_EQ(-1, info.getDiskInfo(buffer, joinedLength));
    EXPECT_STREQ("untouched", buffer);
}

TEST(DiskInfo, SecondFillAppendsAgainAndCopiesStandAlone)
{
    MachineUnderTest m(regFile(""), iniFile(std::string("[drives]\n") + kThreeDrives));
    DiskInfo info;
    info.setDiskInfo();
    info.setDiskInfo();
    EXPECT_EQ(6, info.getDiskListCount());
    DiskInfo copy(info);
    DiskInfo assigned;
    assigned = info;
    EXPECT_NE(&DiskInfoPeer::drive(info, 0), &DiskInfoPeer::drive(copy, 0));
    EXPECT_NE(&DiskInfoPeer::drive(info, 0), &DiskInfoPeer::drive(assigned, 0));
    info = DiskInfo();
    EXPECT_EQ(0, info.getDiskListCount());
    EXPECT_EQ(driveTexts(copy), driveTexts(assigned));
    EXPECT_EQ(6, copy.getDiskListCount());
}

// A platform that claims a drive list longer than the buffer it was given,
// after writing into all of it.
class OverlongDriveList : public RecordedMachine {
public:
    using RecordedMachine::RecordedMachine;
    uint32_t getLogicalDriveStrings(uint32_t bufferLength, char* buffer) override
    {
        std::memset(buffer, 'C', bufferLength);
        return bufferLength + 400;
    }
};

TEST(DiskInfo, ListLongerThanTheBufferGivesNoDrives)
{
    MachineUnderTest<OverlongDriveList> m(regFile(""), iniFile(std::string("[drives]\n") + kThreeDrives));
    DiskInfo info;
    info.setDiskInfo();
    EXPECT_EQ(0, info.getDiskListCount());
}

// A list whose length does not end on a whole root: the last root is cut at
// the returned length, never read past it.
class CutDriveList : public RecordedMachine {
public:
    using RecordedMachine::RecordedMachine;
    uint32_t getLogicalDriveStrings(uint32_t bufferLength, char* buffer) override
    {
        const char list[] = "A:\\\0C:\\\0D:\\\0";
        std::memcpy(buffer, list, bufferLength < sizeof list ? bufferLength : sizeof list);
        return 6;
    }
};

TEST(DiskInfo, RootIsCutAtTheReturnedLength)
{
    MachineUnderTest<CutDriveList> m(regFile(""), iniFile(std::string("[drives]\n") + kThreeDrives));
    DiskInfo info;
    info.setDiskInfo();
    ASSERT_EQ(2, info.getDiskListCount());
    EXPECT_EQ("A:\\", DiskInfoPeer::drive(info, 0).rootPath);
    EXPECT_EQ("C:", DiskInfoPeer::drive(info, 1).rootPath);
}

TEST(DiskInfo, MachineWithoutDrivesGivesNone) { EXPECT_TRUE(gather("").empty()); }

}  // namespace
}  // namespace kel
