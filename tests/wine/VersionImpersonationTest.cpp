// The version record through the seam while Wine impersonates the Windows
// version named in HKCU\Software\Wine (set by the test bed).
#include "platform/Platform.h"
#include "platform/RegKey.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

using namespace kel;

namespace {

struct Impersonation {
    const char* version;
    uint32_t platformId;
    uint32_t major;
    uint32_t minor;
    uint32_t build;
    const char* csd;
};

// What Wine 8 reports for each impersonated version. The 95 family keeps
// the version in the high word of the build number, as those systems do.
// clang-format off
const Impersonation kImpersonations[] = {
    // version  platform major minor build        csd
    {"win95",   1,       4,    0,    0x040003B6u, ""},
    {"win98",   1,       4,    10,   0x040A08AEu, " A "},
    {"winme",   1,       4,    90,   0x045A0BB8u, " "},
    {"nt40",    2,       4,    0,    1381,        "Service Pack 6a"},
    {"win2k",   2,       5,    0,    2195,        "Service Pack 4"},
    {"winxp",   2,       5,    1,    2600,        "Service Pack 3"},
};
// clang-format on

const Impersonation* impersonated(std::string* version)
{
    RegKey key;
    if (key.open(RegRoot::CurrentUser, "Software\\Wine", kKeyQueryValue) != kRegSuccess ||
        !key.readText("Version", 64, version))
        return nullptr;
    for (const Impersonation& row : kImpersonations)
        if (*version == row.version)
            return &row;
    return nullptr;
}

class VersionImpersonation : public ::testing::TestWithParam<uint32_t> {};

TEST_P(VersionImpersonation, RecordMatchesTheImpersonatedVersion)
{
    std::string version;
    const Impersonation* expected = impersonated(&version);
    ASSERT_NE(expected, nullptr) << "no known version impersonated: got \"" << version << "\"";
    VersionRecord record;
    record.infoSize = GetParam();
    std::memset(record.csdVersion, 'x', sizeof record.csdVersion);
    ASSERT_TRUE(platform().getVersion(&record)) << version << ", record size " << GetParam();
    EXPECT_EQ(record.platformId, expected->platformId) << version;
    EXPECT_EQ(record.majorVersion, expected->major) << version;
    EXPECT_EQ(record.minorVersion, expected->minor) << version;
    EXPECT_EQ(record.buildNumber, expected->build) << version;
    EXPECT_STREQ(record.csdVersion, expected->csd) << version;
}

INSTANTIATE_TEST_SUITE_P(BothRecordSizes, VersionImpersonation,
                         ::testing::Values(kVersionRecordExSize, kVersionRecordSize));

TEST(VersionRecordSize, OtherSizesAreRefused)
{
    for (uint32_t size : {0u, 100u, 152u, 200u}) {
        VersionRecord record;
        record.infoSize = size;
        EXPECT_FALSE(platform().getVersion(&record)) << "record size " << size;
    }
}

}  // namespace
