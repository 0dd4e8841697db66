#include "collectors/MemInfo.h"

#include "MachineUnderTest.h"

#include <cstring>

namespace kel::test {
namespace {

struct MemoryCase {
    const char* totalPhys;
    const char* expected;
};

const MemoryCase kMemoryCases[] = {
    {"268025856", "256MB"},    // 261,744 KB: 255.61 MB rounds up
    {"536330240", "511MB"},    // 523,760 KB: 511.48 MB rounds down
    {"1073216512", "1023MB"},  // 1,048,063 KB
    {"1073217536", "1024MB"},  // 1,048,064 KB: an exact half rounds up
    {"4294967295", "4096MB"},  // the largest figure a 32-bit status holds
    {"4294967296", "4096MB"},  // a 64-bit Windows' figure saturates instead of wrapping to 0MB
    {"25276121088", "4096MB"},
    {"18446744073709551615", "4096MB"},
    {"1023", "0MB"},           // under a kilobyte
    {"0", "0MB"},
};

class MemInfoFigures : public ::testing::TestWithParam<MemoryCase> {};

TEST_P(MemInfoFigures, InstalledMemoryInMegabytes)
{
    MachineUnderTest machine(kRegHeader, std::string("[memory]\ntotal_phys = ") +
                                             GetParam().totalPhys + "\n");
    ASSERT_TRUE(machine);
    MemInfo memory;
    memory.setMemoryInfo();
    char first[16], second[16];
    memory.getMemoryInfo(first, sizeof first);
    memory.getMemoryInfo(second, sizeof second);
    EXPECT_STREQ(first, GetParam().expected);
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
