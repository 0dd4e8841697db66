// The platform the native flavour has in force when no recorded machine is:
// an empty machine on which every query fails or answers nothing.

#include "platform/Platform.h"

#include <gtest/gtest.h>

#ifndef _WIN32

namespace kel {
namespace {

TEST(NativeDefaultPlatform, IsAnEmptyMachine)
{
    Platform& empty = platform();
    // The roots open, as they do everywhere, and hold nothing.
    RegHandle key = 0;
    ASSERT_EQ(empty.regOpenKey(RegRoot::LocalMachine, "", kKeyRead, &key), kRegSuccess);
    uint32_t subKeys = 9, values = 9;
    EXPECT_EQ(empty.regQueryInfoKey(key, &subKeys, &values), kRegSuccess);
    EXPECT_EQ(subKeys, 0u);
    EXPECT_EQ(values, 0u);
    EXPECT_EQ(empty.regCloseKey(key), kRegSuccess);
    EXPECT_EQ(empty.regOpenKey(RegRoot::CurrentUser, "Software", kKeyRead, &key), kRegFileNotFound);
    VersionRecord record;
    record.infoSize = kVersionRecordExSize;
    EXPECT_FALSE(empty.getVersion(&record));
    record.infoSize = kVersionRecordSize;
    EXPECT_FALSE(empty.getVersion(&record));
    MemoryStatus memory;
    memory.totalPhys = 1;
    empty.globalMemoryStatus(&memory);
    EXPECT_EQ(memory.totalPhys, 0u);
    char drives[8] = {'x'};
    EXPECT_EQ(empty.getLogicalDriveStrings(sizeof drives, drives), 0u);
    EXPECT_EQ(drives[0], '\0');
    uint32_t needed = 9, returned = 9;
    EXPECT_TRUE(empty.enumPrinters(6, 1, nullptr, 0, &needed, &returned));
    EXPECT_EQ(needed, 0u);
    char path[kMaxPath];
    EXPECT_FALSE(empty.getSpecialFolderPath(kFolderStartup, path));
    int64_t frequency = 1;
    EXPECT_FALSE(empty.queryPerformanceFrequency(&frequency));
    EXPECT_EQ(frequency, 0);
}

}  // namespace
}  // namespace kel

#endif
