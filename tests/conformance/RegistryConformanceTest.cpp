// One set of registry cases with one expectation each, whichever backend
// holds registry.reg: they go through kel::platform() and RegKey, so they
// test the seam itself. Where Wine and Windows differ, the fixture keeps out
// of the difference (see docs/wine.md).
#include "tests/conformance/RegistryConformance.h"

#include "platform/RegKey.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

using namespace kel;

namespace {

constexpr uint8_t kSentinel = 0xEE;
constexpr uint32_t kUntouched = 0xDEADBEEF;
constexpr uint32_t kBufferSize = 260;
const char kRoot[] = "SOFTWARE\\KelConformance";

std::string path(const char* below) { return std::string(kRoot) + "\\" + below; }

std::string hexOf(const std::vector<uint8_t>& bytes)
{
    std::string out;
    char item[4];
    for (uint8_t byte : bytes) {
        std::snprintf(item, sizeof item, "%02x ", byte);
        out += item;
    }
    return out;
}

std::vector<uint8_t> bytesOf(const std::string& text)
{
    return std::vector<uint8_t>(text.begin(), text.end());
}

// The fixture's generated data, as written by the script that made it.
std::vector<uint8_t> binaryPattern(std::size_t count)
{
    std::vector<uint8_t> bytes(count);
    for (std::size_t i = 0; i < count; ++i)
        bytes[i] = static_cast<uint8_t>(i * 7 + 1);
    return bytes;
}

std::string textPattern(std::size_t count)
{
    std::string text(count, 'a');
    for (std::size_t i = 0; i < count; ++i)
        text[i] = static_cast<char>('a' + i % 26);
    return text;
}

// A value query into a buffer of exactly bufferSize bytes, pre-filled with
// a sentinel, and everything the platform said about it.
struct Query {
    long result = -1;
    uint32_t type = kUntouched;
    uint32_t size = kUntouched;
    std::vector<uint8_t> buffer;

    std::vector<uint8_t> data() const
    {
        std::size_t count = size < buffer.size() ? size : buffer.size();
        return std::vector<uint8_t>(buffer.begin(), buffer.begin() + count);
    }
};

Query queryValue(const RegKey& key, const char* name, uint32_t bufferSize = kBufferSize)
{
    Query query;
    query.buffer.assign(bufferSize, kSentinel);
    query.size = bufferSize;
    query.result = platform().regQueryValue(key.handle(), name, &query.type,
                                            bufferSize ? query.buffer.data() : nullptr, &query.size);
    return query;
}

// The cases of one fixture: the platform holding it is the current one.
class ConformanceFixture : public ::testing::Test {
protected:
    explicit ConformanceFixture(const char* fixture) : fixture_(fixture) {}

    void SetUp() override
    {
        std::string error;
        Platform* backend = conformancePlatform(fixture_, &error);
        ASSERT_NE(backend, nullptr) << "no platform for the conformance cases: " << error;
        scope_.emplace(*backend);
    }

    // Opens a key below HKEY_LOCAL_MACHINE and fails the test when it is absent.
    void openKey(RegKey* key, const std::string& keyPath, uint32_t access = kKeyRead,
                 RegRoot root = RegRoot::LocalMachine)
    {
        long result = key->open(root, keyPath, access);
        ASSERT_EQ(result, kRegSuccess) << "opening " << keyPath;
    }

    std::vector<std::string> subkeyNames(const RegKey& key)
    {
        std::vector<std::string> names;
        char name[kBufferSize];
        for (uint32_t index = 0; platform().regEnumKey(key.handle(), index, name, sizeof name) == kRegSuccess;
             ++index)
            names.push_back(boundedText(name, sizeof name, sizeof name));
        return names;
    }

    std::vector<std::string> valueNames(const RegKey& key)
    {
        std::vector<std::string> names;
        char name[kBufferSize];
        uint32_t nameSize = sizeof name;
        for (uint32_t index = 0; platform().regEnumValue(key.handle(), index, name, &nameSize, nullptr,
                                                         nullptr, nullptr) == kRegSuccess;
             ++index, nameSize = sizeof name)
            names.push_back(boundedText(name, nameSize, sizeof name));
        return names;
    }

private:
    const char* fixture_;
    std::optional<ScopedPlatform> scope_;
};

// The main fixture, in code page 1252.
class RegistryConformance : public ConformanceFixture {
protected:
    RegistryConformance() : ConformanceFixture("") {}
};

// The fixture of cp949/, in code page 949.
class KoreanRegistryConformance : public ConformanceFixture {
protected:
    KoreanRegistryConformance() : ConformanceFixture("cp949") {}
};

TEST_F(RegistryConformance, OpensPresentKeysAndReportsMissingOnes)
{
    struct Case {
        RegRoot root;
        std::string path;
        long expected;
    };
    const Case cases[] = {
        {RegRoot::LocalMachine, kRoot, kRegSuccess},
        {RegRoot::LocalMachine, path("Types"), kRegSuccess},
        {RegRoot::LocalMachine, path("Order\\Delta1"), kRegSuccess},
        {RegRoot::LocalMachine, path("Absent"), kRegFileNotFound},
        {RegRoot::LocalMachine, path("Absent\\Deeper"), kRegFileNotFound},
        {RegRoot::LocalMachine, path("Deleted"), kRegFileNotFound},
        {RegRoot::LocalMachine, path("Deleted\\Child"), kRegFileNotFound},
        {RegRoot::LocalMachine, path("UserOnly"), kRegFileNotFound},
        {RegRoot::CurrentUser, "Software\\KelConformance\\UserOnly", kRegSuccess},
        {RegRoot::CurrentUser, path("Types"), kRegFileNotFound},
    };
    for (const Case& c : cases) {
        RegKey key;
        EXPECT_EQ(key.open(c.root, c.path, kKeyRead), c.expected)
            << c.path << (c.root == RegRoot::CurrentUser ? " under HKCU" : " under HKLM");
        EXPECT_EQ(key.isOpen(), c.expected == kRegSuccess) << c.path;
    }
}

TEST_F(RegistryConformance, NamesAreCaseInsensitive)
{
    RegKey key;
    ASSERT_NO_FATAL_FAILURE(openKey(&key, "software\\KELCONFORMANCE\\types", kKeyQueryValue));
    std::string text;
    ASSERT_TRUE(key.readText("sZ", kBufferSize, &text));
    EXPECT_EQ(text, "plain text");
    Query dword = queryValue(key, "DWORD");
    EXPECT_EQ(dword.result, kRegSuccess);
    EXPECT_EQ(dword.type, kRegDword);
}

TEST_F(RegistryConformance, ReadsEveryValueType)
{
    struct Case {
        const char* name;
        uint32_t type;
        std::vector<uint8_t> data;
    };
    const std::string expand = std::string("%SystemRoot%\\kel") + '\0';
    const std::string multi = std::string("one\0two\0\0", 9);
    const Case cases[] = {
        {"Binary", kRegBinary, {0x00, 0x01, 0xfe, 0xff}},
        {"Dword", kRegDword, {0x78, 0x56, 0x34, 0x12}},
        {"Expand", kRegExpandSz, bytesOf(expand)},
        {"Multi", kRegMultiSz, bytesOf(multi)},
        {"Odd", 0x100, {0x01, 0x02, 0x03}},
        {"Quoted", kRegSz, bytesOf(std::string("a \"quoted\" \\path\\") + '\0')},
        {"Qword", kRegQword, {0xef, 0xcd, 0xab, 0x89, 0x67, 0x45, 0x23, 0x01}},
        {"Sz", kRegSz, bytesOf(std::string("plain text") + '\0')},
        {"Unterminated", kRegBinary, {'A', 'B', 'C'}},
    };
    RegKey key;
    ASSERT_NO_FATAL_FAILURE(openKey(&key, path("Types"), kKeyQueryValue));
    for (const Case& c : cases) {
        Query query = queryValue(key, c.name);
        EXPECT_EQ(query.result, kRegSuccess) << c.name;
        EXPECT_EQ(query.type, c.type) << c.name;
        EXPECT_EQ(query.size, c.data.size()) << c.name;
        EXPECT_EQ(hexOf(query.data()), hexOf(c.data)) << c.name;
        // Nothing written past the data.
        EXPECT_EQ(query.buffer[c.data.size()], kSentinel) << c.name << ": byte after the data";
    }
}

TEST_F(RegistryConformance, ConvertsTextToTheAnsiCodePage)
{
    ASSERT_EQ(platform().ansiCodePage(), 1252u) << "the fixture's 8-bit text is in code page 1252";
    RegKey key;
    ASSERT_NO_FATAL_FAILURE(openKey(&key, path("Types"), kKeyQueryValue));
    std::string text;
    ASSERT_TRUE(key.readText("Latin", kBufferSize, &text));
    EXPECT_EQ(hexOf(bytesOf(text)), hexOf(bytesOf("caf\xe9")));
}

// The bytes that code page 1252 leaves unassigned stand for the C1 controls
// of the same number, both ways, so they come back as they were written.
TEST_F(RegistryConformance, KeepsTheUnassignedBytesOfCodePage1252)
{
    RegKey key;
    ASSERT_NO_FATAL_FAILURE(openKey(&key, path("CodePage"), kKeyRead));
    std::string text;
    ASSERT_TRUE(key.readText("Run", kBufferSize, &text));
    EXPECT_EQ(hexOf(bytesOf(text)), hexOf(bytesOf("C:\\Kel\\\x81\x8d\x8f\x90\x9d.exe")));
    ASSERT_TRUE(key.readText("\x9d", kBufferSize, &text));
    EXPECT_EQ(hexOf(bytesOf(text)), "81 ");
    using Names = std::vector<std::string>;
    EXPECT_EQ(::testing::PrintToString(valueNames(key)), ::testing::PrintToString(Names{"Run", "\x9d"}));
    EXPECT_EQ(::testing::PrintToString(subkeyNames(key)), ::testing::PrintToString(Names{"\x8d\x90"}));
    RegKey named;
    EXPECT_EQ(named.open(RegRoot::LocalMachine, path("CodePage\\\x8d\x90"), kKeyRead), kRegSuccess);
}

// Importing string data without its NUL gives Wine's registry a terminated
// value (see docs/wine.md), while a recorded machine keeps the bytes as
// written; the bounded read gives the same text either way.
TEST_F(RegistryConformance, StringDataWithoutNulReadsAsBoundedText)
{
    RegKey key;
    ASSERT_NO_FATAL_FAILURE(openKey(&key, path("Types"), kKeyQueryValue));
    for (const char* name : {"UnterminatedSz", "Unterminated"}) {
        Query query = queryValue(key, name);
        ASSERT_EQ(query.result, kRegSuccess) << name;
        EXPECT_EQ(
            boundedText(reinterpret_cast<const char*>(query.buffer.data()), query.size, query.buffer.size()),
            "ABC")
            << name << ": got " << hexOf(query.data());
        std::string text;
        ASSERT_TRUE(key.readText(name, kBufferSize, &text)) << name;
        EXPECT_EQ(text, "ABC") << name;
    }
    // Three bytes of text fill a three-byte buffer with no room for a NUL.
    std::string text;
    ASSERT_TRUE(key.readText("Unterminated", 3, &text));
    EXPECT_EQ(text, "ABC");
}

TEST_F(RegistryConformance, DataOfAroundThePathLimitIntoA260ByteBuffer)
{
    struct Case {
        const char* name;
        long result;
        uint32_t size;
        std::vector<uint8_t> data;  // empty when the data does not fit
    };
    const Case cases[] = {
        {"Binary259", kRegSuccess, 259, binaryPattern(259)},
        {"Binary260", kRegSuccess, 260, binaryPattern(260)},
        {"Binary261", kRegMoreData, 261, {}},
        {"Text259", kRegSuccess, 259, bytesOf(textPattern(258) + '\0')},
        {"Text260", kRegSuccess, 260, bytesOf(textPattern(259) + '\0')},
        {"Text261", kRegMoreData, 261, {}},
    };
    RegKey key;
    ASSERT_NO_FATAL_FAILURE(openKey(&key, path("Sizes"), kKeyQueryValue));
    for (const Case& c : cases) {
        Query query = queryValue(key, c.name);
        EXPECT_EQ(query.result, c.result) << c.name;
        EXPECT_EQ(query.size, c.size) << c.name << ": returned size";
        if (!c.data.empty()) {
            EXPECT_EQ(hexOf(query.data()), hexOf(c.data)) << c.name;
        }
    }
}

TEST_F(RegistryConformance, TextReadFailsWhenTheDataDoesNotFit)
{
    RegKey key;
    ASSERT_NO_FATAL_FAILURE(openKey(&key, path("Sizes"), kKeyQueryValue));
    std::string text = "untouched";
    ASSERT_TRUE(key.readText("Text259", kBufferSize, &text));
    EXPECT_EQ(text, textPattern(258));
    ASSERT_TRUE(key.readText("Text260", kBufferSize, &text));
    EXPECT_EQ(text, textPattern(259));
    text = "untouched";
    EXPECT_FALSE(key.readText("Text261", kBufferSize, &text));
    EXPECT_EQ(text, "untouched");
}

TEST_F(RegistryConformance, QueryWithoutBufferGivesTheSize)
{
    RegKey key;
    ASSERT_NO_FATAL_FAILURE(openKey(&key, path("Sizes"), kKeyQueryValue));
    Query query = queryValue(key, "Binary261", 0);
    EXPECT_EQ(query.result, kRegSuccess);
    EXPECT_EQ(query.type, kRegBinary);
    EXPECT_EQ(query.size, 261u);
}

TEST_F(RegistryConformance, MissingValueIsNotFound)
{
    RegKey key;
    ASSERT_NO_FATAL_FAILURE(openKey(&key, path("Types"), kKeyQueryValue));
    Query query = queryValue(key, "Absent");
    EXPECT_EQ(query.result, kRegFileNotFound);
    std::string text = "untouched";
    EXPECT_FALSE(key.readText("Absent", kBufferSize, &text));
    EXPECT_EQ(text, "untouched");
}

TEST_F(RegistryConformance, DefaultValues)
{
    struct Case {
        RegRoot root;
        std::string path;
        std::optional<std::string> text;  // none: the key has no default value
    };
    const Case cases[] = {
        {RegRoot::LocalMachine, kRoot, std::string("machine default")},
        {RegRoot::CurrentUser, "Software\\KelConformance", std::string("user default")},
        {RegRoot::LocalMachine, path("DefaultOnly"), std::string("only default")},
        {RegRoot::LocalMachine, path("NoDefault"), std::nullopt},
        {RegRoot::LocalMachine, path("Empty"), std::nullopt},
    };
    for (const Case& c : cases) {
        RegKey key;
        ASSERT_NO_FATAL_FAILURE(openKey(&key, c.path, kKeyQueryValue, c.root));
        for (const char* name : {"", static_cast<const char*>(nullptr)}) {
            std::string text = "untouched";
            bool read = key.readText(name, kBufferSize, &text);
            EXPECT_EQ(read, c.text.has_value()) << c.path << (name ? " name \"\"" : " name null");
            EXPECT_EQ(text, c.text.value_or("untouched")) << c.path;
        }
    }
}

TEST_F(RegistryConformance, CurrentUserBesideLocalMachine)
{
    struct Case {
        RegRoot root;
        const char* path;
        const char* where;
    };
    const Case cases[] = {
        {RegRoot::LocalMachine, "SOFTWARE\\KelConformance", "machine"},
        {RegRoot::CurrentUser, "Software\\KelConformance", "user"},
    };
    for (const Case& c : cases) {
        RegKey key;
        ASSERT_NO_FATAL_FAILURE(openKey(&key, c.path, kKeyQueryValue, c.root));
        std::string text;
        EXPECT_TRUE(key.readText("Where", kBufferSize, &text)) << c.path;
        EXPECT_EQ(text, c.where) << c.path;
    }
}

TEST_F(RegistryConformance, CountsSubkeysAndValues)
{
    struct Case {
        const char* below;
        uint32_t subKeys;
        uint32_t values;
    };
    const Case cases[] = {
        {"", 8, 2}, {"Types", 0, 11}, {"Sizes", 0, 6}, {"Order", 8, 4}, {"Empty", 0, 0},
    };
    for (const Case& c : cases) {
        std::string keyPath = *c.below ? path(c.below) : kRoot;
        RegKey key;
        ASSERT_NO_FATAL_FAILURE(openKey(&key, keyPath));
        uint32_t subKeys = kUntouched, values = kUntouched;
        EXPECT_EQ(platform().regQueryInfoKey(key.handle(), &subKeys, &values), kRegSuccess) << keyPath;
        EXPECT_EQ(subKeys, c.subKeys) << keyPath;
        EXPECT_EQ(values, c.values) << keyPath;
    }
}

TEST_F(RegistryConformance, EnumeratesSubkeysSortedByName)
{
    struct Case {
        const char* below;
        std::vector<std::string> names;
    };
    const Case cases[] = {
        {"", {"Buffers", "CodePage", "DefaultOnly", "Empty", "NoDefault", "Order", "Sizes", "Types"}},
        {"Order", {"10", "9", "alpha", "Beta", "Delta1", "delta9", "gamma", "Zulu"}},
        {"Empty", {}},
    };
    for (const Case& c : cases) {
        std::string keyPath = *c.below ? path(c.below) : kRoot;
        RegKey key;
        ASSERT_NO_FATAL_FAILURE(openKey(&key, keyPath));
        EXPECT_EQ(::testing::PrintToString(subkeyNames(key)), ::testing::PrintToString(c.names)) << keyPath;
    }
}

TEST_F(RegistryConformance, EnumeratesValuesInFixtureOrder)
{
    struct Case {
        const char* below;
        std::vector<std::string> names;
    };
    const Case cases[] = {
        {"", {"", "Where"}},
        {"Order", {"", "apple", "Banana", "cherry"}},
        {"Types",
         {"Binary", "Dword", "Expand", "Latin", "Multi", "Odd", "Quoted", "Qword", "Sz", "Unterminated",
          "UnterminatedSz"}},
        {"Empty", {}},
    };
    for (const Case& c : cases) {
        std::string keyPath = *c.below ? path(c.below) : kRoot;
        RegKey key;
        ASSERT_NO_FATAL_FAILURE(openKey(&key, keyPath));
        EXPECT_EQ(::testing::PrintToString(valueNames(key)), ::testing::PrintToString(c.names)) << keyPath;
    }
}

TEST_F(RegistryConformance, EnumeratedValueCarriesTypeAndData)
{
    RegKey key;
    ASSERT_NO_FATAL_FAILURE(openKey(&key, path("Order")));
    char name[kBufferSize];
    uint32_t nameSize = sizeof name;
    uint32_t type = kUntouched;
    std::vector<uint8_t> data(kBufferSize, kSentinel);
    uint32_t dataSize = kBufferSize;
    ASSERT_EQ(platform().regEnumValue(key.handle(), 2, name, &nameSize, &type, data.data(), &dataSize),
              kRegSuccess);
    EXPECT_EQ(boundedText(name, nameSize, sizeof name), "Banana");
    EXPECT_EQ(nameSize, 6u) << "name length without its NUL";
    EXPECT_EQ(type, kRegSz);
    EXPECT_EQ(dataSize, 2u);
    EXPECT_EQ(hexOf(std::vector<uint8_t>(data.begin(), data.begin() + 3)), "32 00 ee ");
}

TEST_F(RegistryConformance, EnumerationPastTheEndHasNoMoreItems)
{
    RegKey order;
    ASSERT_NO_FATAL_FAILURE(openKey(&order, path("Order")));
    char name[kBufferSize];
    EXPECT_EQ(platform().regEnumKey(order.handle(), 8, name, sizeof name), kRegNoMoreItems);
    EXPECT_EQ(platform().regEnumKey(order.handle(), 1000, name, sizeof name), kRegNoMoreItems);
    uint32_t nameSize = sizeof name;
    EXPECT_EQ(platform().regEnumValue(order.handle(), 4, name, &nameSize, nullptr, nullptr, nullptr),
              kRegNoMoreItems);

    RegKey empty;
    ASSERT_NO_FATAL_FAILURE(openKey(&empty, path("Empty")));
    EXPECT_EQ(platform().regEnumKey(empty.handle(), 0, name, sizeof name), kRegNoMoreItems);
    nameSize = sizeof name;
    EXPECT_EQ(platform().regEnumValue(empty.handle(), 0, name, &nameSize, nullptr, nullptr, nullptr),
              kRegNoMoreItems);
}

TEST_F(RegistryConformance, SubkeyNameBufferTooSmall)
{
    RegKey key;
    ASSERT_NO_FATAL_FAILURE(openKey(&key, path("Buffers")));
    char name[11];
    std::memset(name, 'z', sizeof name);
    // "TenLetters" needs eleven bytes with its NUL.
    EXPECT_EQ(platform().regEnumKey(key.handle(), 0, name, 10), kRegMoreData);
    EXPECT_EQ(platform().regEnumKey(key.handle(), 0, name, 11), kRegSuccess);
    EXPECT_EQ(boundedText(name, sizeof name, sizeof name), "TenLetters");
}

TEST_F(RegistryConformance, ValueNameBufferTooSmall)
{
    RegKey key;
    ASSERT_NO_FATAL_FAILURE(openKey(&key, path("Buffers")));
    char name[11];
    std::memset(name, 'z', sizeof name);
    uint32_t nameSize = 10;  // "ValueName9" needs eleven with its NUL
    EXPECT_EQ(platform().regEnumValue(key.handle(), 0, name, &nameSize, nullptr, nullptr, nullptr),
              kRegMoreData);
    nameSize = 11;
    EXPECT_EQ(platform().regEnumValue(key.handle(), 0, name, &nameSize, nullptr, nullptr, nullptr),
              kRegSuccess);
    EXPECT_EQ(nameSize, 10u);
    EXPECT_EQ(boundedText(name, nameSize, sizeof name), "ValueName9");
}

TEST_F(RegistryConformance, EnumeratedDataBufferTooSmall)
{
    RegKey key;
    ASSERT_NO_FATAL_FAILURE(openKey(&key, path("Buffers")));
    char name[kBufferSize];
    uint32_t nameSize = sizeof name;
    uint32_t type = kUntouched;
    uint8_t data[9];
    uint32_t dataSize = sizeof data;  // "abcdefghi" needs ten with its NUL
    EXPECT_EQ(platform().regEnumValue(key.handle(), 0, name, &nameSize, &type, data, &dataSize),
              kRegMoreData);
    EXPECT_EQ(dataSize, 10u) << "the size the data needs";
}

// Code page 949 as Windows' table has it: pairs at the edges of the lead
// (81-FE) and trail (41-5A, 61-7A, 81-FE) ranges, the user-defined pairs and
// the single bytes 80 and FF come back as written; a pair the table leaves
// unassigned is one '?'.
TEST_F(KoreanRegistryConformance, ConvertsByTheTableOfCodePage949)
{
    ASSERT_EQ(platform().ansiCodePage(), 949u) << "the fixture's 8-bit text is in code page 949";
    struct Case {
        const char* name;
        std::string text;
    };
    const Case cases[] = {
        {"Assigned",
         "\x81\x41\x81\x5a\x81\x61\x81\x7a\x81\x81\x81\xfe\xa0\xfe\xa1\x41\xc6\x41\xc6\x52"
         "\xa1\xa1\xb0\xa1\xc8\xfe\xca\xa1\xfd\xfe"},
        {"SingleBytes", "A\x80\xffZ"},
        {"Unassigned", "x?yx?yx?yx?yx?y"},
        {"UserDefined", "\xc9\xa1\xc9\xfe\xfe\xa1\xfe\xfe"},
    };
    RegKey key;
    ASSERT_NO_FATAL_FAILURE(openKey(&key, "SOFTWARE\\KelConformance949", kKeyRead));
    for (const Case& c : cases) {
        std::string text;
        ASSERT_TRUE(key.readText(c.name, kBufferSize, &text)) << c.name;
        EXPECT_EQ(hexOf(bytesOf(text)), hexOf(bytesOf(c.text))) << c.name;
    }
    const std::string hangul = "\xc7\xd1\xb1\xdb";
    using Names = std::vector<std::string>;
    EXPECT_EQ(::testing::PrintToString(subkeyNames(key)), ::testing::PrintToString(Names{hangul}));
    RegKey named;
    EXPECT_EQ(
        named.open(RegRoot::LocalMachine, std::string("SOFTWARE\\KelConformance949\\") + hangul, kKeyRead),
        kRegSuccess);
}

}  // namespace
