// The registry operations of a recorded machine against the platform's own
// semantics: result codes, buffer rules, order, case, code page and views.

#include "RecordedTestSupport.h"

#include <cstring>

namespace kel {
namespace {

using test::kRegHeader;
using test::OpenKey;
using test::subkeyNames;
using test::valueBytes;
using test::valueNames;

std::string hexOfUtf16(const std::string& ascii, bool withNul)
{
    static const char digits[] = "0123456789abcdef";
    std::string out;
    std::string text = withNul ? ascii + std::string(1, '\0') : ascii;
    for (char c : text) {
        if (!out.empty())
            out += ",";
        out += digits[(c >> 4) & 0xF];
        out += digits[c & 0xF];
        out += ",00";
    }
    return out;
}

// Keys of every shape the recorded registry reads, their order and sizes.
std::string semanticsRegistry()
{
    return std::string(kRegHeader) +
           "[HKEY_LOCAL_MACHINE\\Order]\n"
           "\"zulu\"=\"1\"\n\"Alpha\"=\"2\"\n\"mike\"=\"3\"\n\"alpha\"=\"replaced\"\n"
           "[HKEY_LOCAL_MACHINE\\Order\\zeta]\n[HKEY_LOCAL_MACHINE\\Order\\_under]\n"
           "[HKEY_LOCAL_MACHINE\\Order\\Alpha]\n[HKEY_LOCAL_MACHINE\\Order\\beta]\n"
           "[HKEY_LOCAL_MACHINE\\Sizes]\n"
           "\"s259\"=\"" +
           std::string(258, 'x') +
           "\"\n"
           "\"s260\"=\"" +
           std::string(259, 'x') +
           "\"\n"
           "\"s261\"=\"" +
           std::string(260, 'x') +
           "\"\n"
           "\"NoNul\"=hex(1):" +
           hexOfUtf16("AB", false) +
           "\n"
           "\"NoNul260\"=hex(1):" +
           hexOfUtf16(std::string(260, 'y'), false) +
           "\n"
           "\"Dword\"=dword:12345678\n"
           "\"Empty\"=\"\"\n"
           "\"Euro\"=\"\xE2\x82\xAC \xED\x95\x9C\"\n"
           "\"Multi\"=hex(7):" +
           hexOfUtf16("one", true) + "," + hexOfUtf16("two", true) +
           ",00,00\n"
           "\"" +
           std::string(300, 'n') +
           "\"=\"long name\"\n"
           "[HKEY_CURRENT_USER\\Order]\n\"user\"=\"yes\"\n";
}

class RegistrySemantics : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(machine_); }

    MachineUnderTest<> machine_{semanticsRegistry(), ""};
};

TEST_F(RegistrySemantics, SubkeysInUpperCaseOrderValuesInCreationOrder)
{
    OpenKey key(*machine_, RegRoot::LocalMachine, "Order");
    ASSERT_EQ(key.result(), kRegSuccess);
    // Folded to upper case, '_' (0x5F) sorts after the letters.
    EXPECT_EQ(subkeyNames(*machine_, key.handle()),
              (std::vector<std::string>{"Alpha", "beta", "zeta", "_under"}));
    EXPECT_EQ(valueNames(*machine_, key.handle()), (std::vector<std::string>{"zulu", "Alpha", "mike"}));
    long result = -1;
    EXPECT_EQ(valueBytes(*machine_, key.handle(), "ALPHA", kMaxPath, &result), std::string("replaced", 9));
    uint32_t subKeys = 0, values = 0;
    EXPECT_EQ(machine_->regQueryInfoKey(key.handle(), &subKeys, &values), kRegSuccess);
    EXPECT_EQ(subKeys, 4u);
    EXPECT_EQ(values, 3u);
}

TEST_F(RegistrySemantics, NamesAreCaseInsensitiveAndRootsApart)
{
    OpenKey upper(*machine_, RegRoot::LocalMachine, "ORDER\\ZETA");
    EXPECT_EQ(upper.result(), kRegSuccess);
    OpenKey trailing(*machine_, RegRoot::LocalMachine, "order\\");
    EXPECT_EQ(trailing.result(), kRegSuccess);
    OpenKey user(*machine_, RegRoot::CurrentUser, "Order");
    ASSERT_EQ(user.result(), kRegSuccess);
    EXPECT_EQ(valueNames(*machine_, user.handle()), std::vector<std::string>{"user"});
    EXPECT_EQ(OpenKey(*machine_, RegRoot::CurrentUser, "Sizes").result(), kRegFileNotFound);
    EXPECT_EQ(OpenKey(*machine_, RegRoot::LocalMachine, "Order\\missing").result(), kRegFileNotFound);
    EXPECT_EQ(OpenKey(*machine_, RegRoot::LocalMachine, "Order\\\\zeta").result(), kRegSuccess)
        << "empty names in a path are passed over";
    EXPECT_EQ(OpenKey(*machine_, RegRoot::LocalMachine, "\\Order").result(), 161);
}

TEST_F(RegistrySemantics, EmptyPathOpensTheRoot)
{
    OpenKey root(*machine_, RegRoot::LocalMachine, "");
    ASSERT_EQ(root.result(), kRegSuccess);
    EXPECT_EQ(subkeyNames(*machine_, root.handle()), (std::vector<std::string>{"Order", "Sizes"}));
    RegHandle handle = 0;
    ASSERT_EQ(machine_->regOpenKey(RegRoot::CurrentUser, nullptr, kKeyRead, &handle), kRegSuccess);
    EXPECT_EQ(subkeyNames(*machine_, handle), std::vector<std::string>{"Order"});
    EXPECT_EQ(machine_->regCloseKey(handle), kRegSuccess);
}

TEST_F(RegistrySemantics, StringsOf259To261BytesIntoA260ByteBuffer)
{
    OpenKey key(*machine_, RegRoot::LocalMachine, "Sizes");
    struct Case {
        const char* name;
        long result;
        uint32_t reportedSize;
    } cases[] = {{"s259", kRegSuccess, 259}, {"s260", kRegSuccess, 260}, {"s261", kRegMoreData, 261}};
    for (const Case& c : cases) {
        uint8_t buffer[kMaxPath];
        std::memset(buffer, 0xCC, sizeof buffer);
        uint32_t size = sizeof buffer;
        uint32_t type = 0;
        EXPECT_EQ(machine_->regQueryValue(key.handle(), c.name, &type, buffer, &size), c.result) << c.name;
        EXPECT_EQ(size, c.reportedSize) << c.name;
        EXPECT_EQ(type, uint32_t(kRegSz)) << c.name;
        if (c.result == kRegSuccess)
            EXPECT_EQ(buffer[size - 1], 0) << c.name;
        else
            EXPECT_EQ(buffer[0], 0xCC) << c.name << ": the buffer is left alone";
    }
}

TEST_F(RegistrySemantics, TextWithoutNulGetsOneOnlyWhenThereIsRoom)
{
    OpenKey key(*machine_, RegRoot::LocalMachine, "Sizes");
    uint8_t buffer[kMaxPath];
    std::memset(buffer, 0xCC, sizeof buffer);
    uint32_t size = sizeof buffer;
    ASSERT_EQ(machine_->regQueryValue(key.handle(), "NoNul", nullptr, buffer, &size), kRegSuccess);
    EXPECT_EQ(size, 2u);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer), 3), std::string("AB", 3));

    std::memset(buffer, 0xCC, sizeof buffer);
    size = sizeof buffer;
    ASSERT_EQ(machine_->regQueryValue(key.handle(), "NoNul260", nullptr, buffer, &size), kRegSuccess);
    EXPECT_EQ(size, 260u);
    EXPECT_EQ(buffer[259], 'y') << "no room for a NUL: none is written";

    std::memset(buffer, 0xCC, sizeof buffer);
    size = 2;
    ASSERT_EQ(machine_->regQueryValue(key.handle(), "NoNul", nullptr, buffer, &size), kRegSuccess);
    EXPECT_EQ(buffer[2], 0xCC);
}

TEST(RegistryText, OddByteCountDropsTheHalfCodeUnit)
{
    // As Wine answers for three bytes of REG_SZ data: one character, a NUL
    // written after it when there is room, and a size of 1.
    MachineUnderTest machine(std::string(kRegHeader) + "[HKEY_CURRENT_USER\\K]\n\"odd\"=hex(1):41,00,42\n",
                             "");
    ASSERT_TRUE(machine);
    OpenKey key(*machine, RegRoot::CurrentUser, "K");
    uint8_t buffer[4] = {0xCC, 0xCC, 0xCC, 0xCC};
    uint32_t size = 2;
    ASSERT_EQ(machine->regQueryValue(key.handle(), "odd", nullptr, buffer, &size), kRegSuccess);
    EXPECT_EQ(size, 1u);
    EXPECT_EQ(buffer[0], 'A');
    EXPECT_EQ(buffer[1], 0);
    EXPECT_EQ(buffer[2], 0xCC);
}

TEST_F(RegistrySemantics, SizeQueriesAndSmallBuffers)
{
    OpenKey key(*machine_, RegRoot::LocalMachine, "Sizes");
    uint32_t size = 0;
    uint32_t type = 0;
    EXPECT_EQ(machine_->regQueryValue(key.handle(), "s261", &type, nullptr, &size), kRegSuccess);
    EXPECT_EQ(size, 261u);
    uint8_t dword[4] = {};
    size = 3;
    EXPECT_EQ(machine_->regQueryValue(key.handle(), "Dword", &type, dword, &size), kRegMoreData);
    EXPECT_EQ(size, 4u);
    size = 4;
    EXPECT_EQ(machine_->regQueryValue(key.handle(), "Dword", &type, dword, &size), kRegSuccess);
    EXPECT_EQ(dword[0], 0x78);
    EXPECT_EQ(type, uint32_t(kRegDword));
    size = 0;
    EXPECT_EQ(machine_->regQueryValue(key.handle(), "Empty", &type, dword, &size), kRegMoreData)
        << "the empty string still has its NUL";
    EXPECT_EQ(machine_->regQueryValue(key.handle(), "Dword", &type, dword, nullptr), kRegInvalidParameter);
    size = 4;
    EXPECT_EQ(machine_->regQueryValue(key.handle(), "absent", &type, dword, &size), kRegFileNotFound);
    EXPECT_EQ(machine_->regQueryValue(key.handle(), nullptr, &type, dword, &size), kRegFileNotFound)
        << "no default value was given";
}

TEST_F(RegistrySemantics, TextIsConvertedToTheCodePage)
{
    OpenKey key(*machine_, RegRoot::LocalMachine, "Sizes");
    long result = -1;
    EXPECT_EQ(valueBytes(*machine_, key.handle(), "Euro", kMaxPath, &result), std::string("\x80 ?", 4))
        << "the euro sign is 0x80 in 1252; a Hangul syllable cannot be written";
    EXPECT_EQ(valueBytes(*machine_, key.handle(), "Multi", kMaxPath, &result),
              std::string("one\0two\0\0", 9));
}

TEST_F(RegistrySemantics, EnumerationPastTheEndAndSmallNameBuffers)
{
    OpenKey key(*machine_, RegRoot::LocalMachine, "Order");
    char name[kMaxPath];
    EXPECT_EQ(machine_->regEnumKey(key.handle(), 4, name, sizeof name), kRegNoMoreItems);
    EXPECT_EQ(machine_->regEnumKey(key.handle(), 0, name, 5), kRegMoreData) << "Alpha and its NUL need 6";
    EXPECT_EQ(machine_->regEnumKey(key.handle(), 0, name, 6), kRegSuccess);
    EXPECT_STREQ(name, "Alpha");

    uint32_t nameSize = 5;
    uint32_t type = 0;
    uint32_t dataSize = 0;
    EXPECT_EQ(machine_->regEnumValue(key.handle(), 1, name, &nameSize, &type, nullptr, &dataSize),
              kRegMoreData);
    EXPECT_EQ(nameSize, 5u);
    EXPECT_STREQ(name, "Alph") << "the name is cut to the buffer";
    nameSize = sizeof name;
    EXPECT_EQ(machine_->regEnumValue(key.handle(), 1, name, &nameSize, &type, nullptr, &dataSize),
              kRegSuccess);
    EXPECT_EQ(nameSize, 5u);
    EXPECT_EQ(dataSize, 9u);
    EXPECT_EQ(type, uint32_t(kRegSz));
    nameSize = sizeof name;
    EXPECT_EQ(machine_->regEnumValue(key.handle(), 3, name, &nameSize, &type, nullptr, &dataSize),
              kRegNoMoreItems);

    uint8_t data[4];
    dataSize = sizeof data;
    nameSize = sizeof name;
    EXPECT_EQ(machine_->regEnumValue(key.handle(), 1, name, &nameSize, &type, data, &dataSize), kRegMoreData);
    EXPECT_EQ(dataSize, 9u);
}

TEST_F(RegistrySemantics, LongValueNameDoesNotFitAPathBuffer)
{
    OpenKey key(*machine_, RegRoot::LocalMachine, "Sizes");
    std::vector<std::string> names = valueNames(*machine_, key.handle());
    EXPECT_EQ(names.size(), 9u) << "enumeration stops at the 300-character name";
    char name[kMaxPath];
    uint32_t nameSize = sizeof name;
    EXPECT_EQ(machine_->regEnumValue(key.handle(), 9, name, &nameSize, nullptr, nullptr, nullptr),
              kRegMoreData);
}

TEST_F(RegistrySemantics, InvalidHandles)
{
    char name[kMaxPath];
    uint32_t count = 0;
    EXPECT_EQ(machine_->regQueryInfoKey(0, &count, &count), kRegInvalidHandle);
    EXPECT_EQ(machine_->regEnumKey(12345, 0, name, sizeof name), kRegInvalidHandle);
    EXPECT_EQ(machine_->regCloseKey(0), kRegInvalidHandle);
    RegHandle handle = 0;
    ASSERT_EQ(machine_->regOpenKey(RegRoot::LocalMachine, "Order", kKeyRead, &handle), kRegSuccess);
    EXPECT_EQ(machine_->openKeyCount(), 1u);
    EXPECT_EQ(machine_->regCloseKey(handle), kRegSuccess);
    EXPECT_EQ(machine_->regCloseKey(handle), kRegInvalidHandle);
    EXPECT_EQ(machine_->openKeyCount(), 0u);
    EXPECT_EQ(machine_->regOpenKey(RegRoot::LocalMachine, "Order", kKeyRead, nullptr), kRegInvalidParameter);
}

const char kViews[] =
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor]\n\"bits\"=\"64\"\n"
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Wow6432Node\\Vendor]\n\"bits\"=\"32\"\n"
    "[HKEY_LOCAL_MACHINE\\SYSTEM\\Shared]\n";

TEST(RegistryViews, Windows64RedirectsTheSoftwareKeyOfThe32BitView)
{
    MachineUnderTest machine(std::string(kRegHeader) + kViews, "[system]\nwindows64 = yes\n");
    ASSERT_TRUE(machine);
    EXPECT_TRUE(machine->isWindows64());
    EXPECT_EQ(machine->ownRegistryView(), kKeyWow64_32Key);
    struct Case {
        uint32_t access;
        const char* bits;
    } cases[] = {{kKeyRead, "32"},
                 {kKeyRead | kKeyWow64_32Key, "32"},
                 {kKeyRead | kKeyWow64_64Key, "64"},
                 {kKeyRead | kKeyWow64_32Key | kKeyWow64_64Key, "32"}};
    for (const Case& c : cases) {
        OpenKey key(*machine, RegRoot::LocalMachine, "Software\\Vendor", c.access);
        ASSERT_EQ(key.result(), kRegSuccess);
        long result = -1;
        EXPECT_EQ(valueBytes(*machine, key.handle(), "bits", kMaxPath, &result), std::string(c.bits, 3))
            << "access 0x" << std::hex << c.access;
    }
    OpenKey direct(*machine, RegRoot::LocalMachine, "SOFTWARE\\Wow6432Node\\Vendor",
                   kKeyRead | kKeyWow64_32Key);
    EXPECT_EQ(direct.result(), kRegSuccess) << "the node is not redirected twice";
    OpenKey software32(*machine, RegRoot::LocalMachine, "SOFTWARE", kKeyRead | kKeyWow64_32Key);
    EXPECT_EQ(subkeyNames(*machine, software32.handle()), std::vector<std::string>{"Vendor"});
}

TEST(RegistryViews, SameKeyOnlyWhereTheViewsShareTheKey)
{
    MachineUnderTest machine(std::string(kRegHeader) + kViews, "[system]\nwindows64 = yes\n");
    ASSERT_TRUE(machine);
    OpenKey shared32(*machine, RegRoot::LocalMachine, "SYSTEM\\Shared", kKeyRead | kKeyWow64_32Key);
    OpenKey shared64(*machine, RegRoot::LocalMachine, "SYSTEM\\Shared", kKeyRead | kKeyWow64_64Key);
    EXPECT_TRUE(machine->regSameKey(shared32.handle(), shared64.handle()));
    OpenKey vendor32(*machine, RegRoot::LocalMachine, "SOFTWARE\\Vendor", kKeyRead | kKeyWow64_32Key);
    OpenKey vendor64(*machine, RegRoot::LocalMachine, "SOFTWARE\\Vendor", kKeyRead | kKeyWow64_64Key);
    EXPECT_FALSE(machine->regSameKey(vendor32.handle(), vendor64.handle()));
    EXPECT_FALSE(machine->regSameKey(0, 0));
}

TEST(RegistryViews, Windows32HasOneView)
{
    MachineUnderTest machine(std::string(kRegHeader) + kViews, "");
    ASSERT_TRUE(machine);
    EXPECT_FALSE(machine->isWindows64());
    EXPECT_EQ(machine->ownRegistryView(), 0u);
    OpenKey a(*machine, RegRoot::LocalMachine, "SOFTWARE\\Vendor", kKeyRead | kKeyWow64_32Key);
    OpenKey b(*machine, RegRoot::LocalMachine, "SOFTWARE\\Vendor", kKeyRead | kKeyWow64_64Key);
    EXPECT_TRUE(machine->regSameKey(a.handle(), b.handle()));
}

}  // namespace
}  // namespace kel
