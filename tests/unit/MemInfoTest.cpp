#include "collectors/MemInfo.h"

#include "MachineUnderTest.h"

#include <cstring>

namespace kel::test {
namespace {

struct MemoryCase {
    const char* totalPhys;
    const char* extendedMemoryStatus;  // whether kernel32 has GlobalMemoryStatusEx
    const char* expected;
};

const MemoryCase kMemoryCases[] = {
    {"268025856", "yes", "256MB"},    // 261,744 KB: 255.61 MB rounds up
    {"536330240", "yes", "511MB"},    // 523,760 KB: 511.48 MB rounds down
    {"1073216512", "yes", "1023MB"},  // 1,048,063 KB
    {"1073217536", "yes", "1024MB"},  // 1,048,064 KB: an exact half rounds up
    {"4294967295", "yes", "4096MB"},  // the largest figure a 32-bit status holds
    {"4294967296", "yes", "4096MB"},
    {"25276121088", "yes", "24105MB"},
    {"34292629504", "yes", "32704MB"},
    {"18446744073709551615", "yes", "17592186044416MB"},  // 16 characters and the NUL
    {"1023", "yes", "0MB"},                               // under a kilobyte
    {"0", "yes", "0MB"},
    // Without the extended query the older one cuts each figure to 32 bits.
    {"268025856", "no", "256MB"},
    {"4294967296", "no", "4096MB"},
    {"25276121088", "no", "4096MB"},
    {"18446744073709551615", "no", "4096MB"},
};

class MemInfoFigures : public ::testing::TestWithParam<MemoryCase> {};

TEST_P(MemInfoFigures, InstalledMemoryInMegabytes)
{
    MachineUnderTest machine(kRegHeader, std::string("[system]\nextended_memory_status = ") +
                                             GetParam().extendedMemoryStatus +
                                             "\n[memory]\ntotal_phys = " + GetParam().totalPhys + "\n");
    ASSERT_TRUE(machine);
    MemInfo memory;
    memory.setMemoryInfo();
    char first[32], second[32];
    memory.getMemoryInfo(first, sizeof first);
    memory.getMemoryInfo(second, sizeof second);
    EXPECT_STREQ(first, GetParam().expected)
        << GetParam().totalPhys << " bytes, extended_memory_status = " << GetParam().extendedMemoryStatus;
    EXPECT_STREQ(second, first) << "two calls must write the same text";
}

INSTANTIATE_TEST_SUITE_P(Figures, MemInfoFigures, ::testing::ValuesIn(kMemoryCases));

TEST(MemInfo, FreshObjectReportsZeroAndNeverWritesPastSize)
{
    MemInfo memory;  // figures start at 0, not undefined
    char buffer[8];
    std::strcpy(buffer, "xxxxxxx");
    memory.getMemoryInfo(buffer, 3);  // "0MB" and its NUL need 4
    EXPECT_STREQ(buffer, "xxxxxxx");
    memory.getMemoryInfo(buffer, 4);
    EXPECT_STREQ(buffer, "0MB");
}

TEST(MemInfo, AssignmentCopiesTheFigures)
{
    MachineUnderTest machine(kRegHeader, "[memory]\ntotal_phys = 134217728\n");
    ASSERT_TRUE(machine);
    MemInfo source;
    source.setMemoryInfo();
    MemInfo target;
    target = source;
    char buffer[16];
    target.getMemoryInfo(buffer, sizeof buffer);
    EXPECT_STREQ(buffer, "128MB");
}

}  // namespace
}  // namespace kel::test
