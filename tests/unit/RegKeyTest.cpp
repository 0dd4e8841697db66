// The registry conventions the collectors share: key paths built in place,
// paths too long for any key, and text reads into buffers of every size.

#include "MachineUnderTest.h"
#include "platform/KeyPath.h"
#include "platform/RegKey.h"

#include <gtest/gtest.h>

#include <string>

namespace kel {
namespace {

using test::kRegHeader;

class CountingOpens : public RecordedMachine {
public:
    using RecordedMachine::RecordedMachine;
    int opens = 0;
    long regOpenKey(RegRoot root, const char* path, uint32_t access, RegHandle* key) override
    {
        ++opens;
        return RecordedMachine::regOpenKey(root, path, access, key);
    }
};

TEST(KeyPath, JoinsRootAndNameUpToTheNamesFirstNul)
{
    struct Case {
        const char* root;
        std::string name;
        const char* expected;
    } cases[] = {
        {"SYSTEM\\Services", "nv4", "SYSTEM\\Services\\nv4"},
        {"SYSTEM\\Services", "", "SYSTEM\\Services\\"},
        {"SYSTEM\\Services", std::string("nv4\0hidden", 10), "SYSTEM\\Services\\nv4"},
        {"Enum", "{4D36E968-E325-11CE-BFC1-08002BE10318}\\0000",
         "Enum\\{4D36E968-E325-11CE-BFC1-08002BE10318}\\0000"},
    };
    for (const Case& c : cases) {
        KeyPath path(c.root, c.name);
        EXPECT_TRUE(path.fits()) << c.expected;
        EXPECT_STREQ(path.c_str(), c.expected);
    }
}

TEST(KeyPath, ANameOfAWholeValueBufferFitsAndBeyondTheCapacityOpensNothing)
{
    MachineUnderTest<CountingOpens> counting(std::string(kRegHeader) + "[HKEY_LOCAL_MACHINE\\Root\\" +
                                                 std::string(255, 'k') + "]\n\"v\"=\"found\"\n",
                                             "");
    ASSERT_TRUE(counting);

    RegKey key;
    EXPECT_EQ(kRegSuccess,
              key.open(RegRoot::LocalMachine, KeyPath("Root", std::string(255, 'k')), kKeyQueryValue));
    std::string text;
    EXPECT_TRUE(key.readText("v", kMaxPath, &text));
    EXPECT_EQ("found", text);
    EXPECT_EQ(1, counting->opens);

    const std::string longRoot(kMaxPath, 'r');
    KeyPath tooLong(longRoot.c_str(), std::string(kMaxPath, 'n'));
    EXPECT_FALSE(tooLong.fits());
    RegKey refused;
    EXPECT_EQ(kRegFileNotFound, refused.open(RegRoot::LocalMachine, tooLong, kKeyQueryValue));
    EXPECT_FALSE(refused.isOpen());
    EXPECT_EQ(1, counting->opens) << "a path no key can have is not asked for";
}

// Small reads use a buffer on the stack, large ones one on the heap: both
// keep the same bounds.
TEST(RegKeyText, ReadsBoundedByTheBufferOnEitherSideOfTheStackSize)
{
    const std::string shortText(1000, 's');
    const std::string longText(3000, 'l');
    MachineUnderTest machine(std::string(kRegHeader) + "[HKEY_LOCAL_MACHINE\\Texts]\n\"short\"=\"" +
                                 shortText + "\"\n\"long\"=\"" + longText + "\"\n",
                             "");
    ASSERT_TRUE(machine);
    RegKey key;
    ASSERT_EQ(kRegSuccess, key.open(RegRoot::LocalMachine, "Texts", kKeyQueryValue));

    struct Case {
        const char* name;
        std::size_t bufferSize;
        bool read;
        std::size_t length;
    } cases[] = {
        {"short", 1001, true, 1000}, {"short", 1000, false, 0}, {"short", 4096, true, 1000},
        {"long", 3001, true, 3000},  {"long", 3000, false, 0},  {"long", 1024, false, 0},
    };
    for (const Case& c : cases) {
        std::string text = "untouched";
        EXPECT_EQ(c.read, key.readText(c.name, c.bufferSize, &text)) << c.name << " in " << c.bufferSize;
        if (c.read)
            EXPECT_EQ(c.length, text.size()) << c.name << " in " << c.bufferSize;
        else
            EXPECT_EQ("untouched", text) << c.name << " in " << c.bufferSize;
    }
}

}  // namespace
}  // namespace kel
