#include "collectors/SmbiosTable.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace kel {
namespace {

using Bytes = std::vector<uint8_t>;

const uint8_t kUuid[16] = {0x9C, 0x6B, 0x1E, 0x40, 0xD7, 0x3A, 0x11, 0xE8,
                           0xA4, 0xF5, 0x2C, 0x4D, 0x54, 0xE1, 0xA7, 0xB3};

Bytes strings(const std::vector<std::string>& texts)
{
    Bytes out;
    for (const std::string& text : texts) {
        out.insert(out.end(), text.begin(), text.end());
        out.push_back(0);
    }
    out.push_back(0);
    if (texts.empty())
        out.push_back(0);
    return out;
}

// A type 0 structure: vendor 1, version 2, date 3.
Bytes biosStructure(const std::vector<std::string>& texts)
{
    Bytes s = {0, 0x18, 0, 0, 1, 2, 0x00, 0xF0, 3, 0xFF};
    s.resize(0x18, 0);
    Bytes set = strings(texts);
    s.insert(s.end(), set.begin(), set.end());
    return s;
}

// A type 1 structure of the given formatted length: maker 1, product 2,
// version 3, serial 4, then the UUID.
Bytes systemStructure(uint8_t length, const std::vector<std::string>& texts)
{
    Bytes s(8 + sizeof kUuid, 0);
    const uint8_t head[8] = {1, length, 1, 0, 1, 2, 3, 4};
    std::copy(head, head + 8, s.begin());
    std::copy(kUuid, kUuid + sizeof kUuid, s.begin() + 8);
    s.resize(length, 0);
    Bytes set = strings(texts);
    s.insert(s.end(), set.begin(), set.end());
    return s;
}

// The 8-byte header GetSystemFirmwareTable puts first: calling method,
// version, DMI revision and the length of the structures (by default theirs).
Bytes rawTable(uint8_t major, uint8_t minor, const Bytes& structures, long length = -1)
{
    const uint32_t size =
        length < 0 ? static_cast<uint32_t>(structures.size()) : static_cast<uint32_t>(length);
    Bytes table(8 + structures.size(), 0);
    table[1] = major;
    table[2] = minor;
    for (int i = 0; i < 4; ++i)
        table[4 + static_cast<std::size_t>(i)] = static_cast<uint8_t>(size >> (8 * i));
    std::copy(structures.begin(), structures.end(), table.begin() + 8);
    return table;
}

Bytes join(Bytes a, const Bytes& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

const Bytes kBios = biosStructure({"American Megatrends Inc.", "6042", "04/28/2022"});
const Bytes kSystem =
    systemStructure(0x1B, {"System manufacturer", "System Product Name", "System Version", "SN-0042   "});
const Bytes kEnd = {127, 4, 2, 0, 0, 0};

SmbiosFacts parsed(const Bytes& table, bool expectHeader = true)
{
    SmbiosFacts facts;
    EXPECT_EQ(expectHeader, parseSmbiosTable(table.data(), table.size(), &facts));
    return facts;
}

TEST(SmbiosTable, ReadsBiosAndSystemWithTheUuidAsWindowsShowsIt)
{
    SmbiosFacts f = parsed(rawTable(3, 1, join(join(kBios, kSystem), kEnd)));
    EXPECT_EQ("American Megatrends Inc.", f.biosVendor);
    EXPECT_EQ("6042", f.biosVersion);
    EXPECT_EQ("04/28/2022", f.biosDate);
    EXPECT_EQ("System manufacturer", f.manufacturer);
    EXPECT_EQ("System Product Name", f.product);
    EXPECT_EQ("SN-0042", f.serialNumber) << "trailing blanks of the firmware's string dropped";
    EXPECT_EQ("401E6B9C-3AD7-E811-A4F5-2C4D54E1A7B3", f.uuid);
}

TEST(SmbiosTable, UuidFieldsAreLittleEndianFromVersion26On)
{
    const struct {
        uint8_t major, minor;
        const char* uuid;
    } cases[] = {
        {2, 5, "9C6B1E40-D73A-11E8-A4F5-2C4D54E1A7B3"},
        {2, 6, "401E6B9C-3AD7-E811-A4F5-2C4D54E1A7B3"},
        {2, 8, "401E6B9C-3AD7-E811-A4F5-2C4D54E1A7B3"},
        {3, 0, "401E6B9C-3AD7-E811-A4F5-2C4D54E1A7B3"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.uuid, parsed(rawTable(c.major, c.minor, kSystem)).uuid)
            << int(c.major) << "." << int(c.minor);
}

TEST(SmbiosTable, UuidNotSetOrNotPresentIsAbsent)
{
    const uint8_t zeros[16] = {}, ones[16] = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
                                              0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
    EXPECT_EQ("", smbiosUuid(zeros, true));
    EXPECT_EQ("", smbiosUuid(ones, false));
    // SMBIOS 2.0's system structure ends before the UUID.
    SmbiosFacts f = parsed(rawTable(2, 0, systemStructure(0x08, {"Maker", "Model", "1.0", "S1"})));
    EXPECT_EQ("Maker", f.manufacturer);
    EXPECT_EQ("", f.uuid);
}

// Broken tables: each gives what can be read before the fault, never more.
TEST(SmbiosTable, BrokenTablesStopAtTheirFault)
{
    Bytes unterminated = rawTable(3, 1, join(kBios, systemStructure(0x1B, {"Maker"})));
    unterminated.resize(unterminated.size() - 2);  // the set's double NUL cut away
    Bytes lengthPastEnd = rawTable(3, 1, join(kBios, Bytes{1, 0xF0, 0, 0, 1, 2, 3, 4}));
    Bytes shortLength = rawTable(3, 1, join(Bytes{1, 2, 0, 0, 0, 0}, kBios));
    Bytes numberPastSet = rawTable(3, 1, systemStructure(0x1B, {"Only"}));
    Bytes headerPastBytes = rawTable(3, 1, join(kBios, kSystem), 0x7FFFFFFF);
    Bytes headerShortOfBytes = rawTable(3, 1, join(kBios, kSystem), static_cast<long>(kBios.size()));
    const struct {
        const char* name;
        Bytes table;
        const char* vendor;
        const char* maker;
        const char* product;
    } cases[] = {
        {"string set without its end", unterminated, "American Megatrends Inc.", "", ""},
        {"structure length past the end", lengthPastEnd, "American Megatrends Inc.", "", ""},
        {"structure length below its header", shortLength, "", "", ""},
        {"string number past the set", numberPastSet, "", "Only", ""},
        {"table length past the bytes", headerPastBytes, "American Megatrends Inc.", "System manufacturer",
         "System Product Name"},
        {"table length short of the bytes", headerShortOfBytes, "American Megatrends Inc.", "", ""},
    };
    for (const auto& c : cases) {
        SmbiosFacts f = parsed(c.table);
        EXPECT_EQ(c.vendor, f.biosVendor) << c.name;
        EXPECT_EQ(c.maker, f.manufacturer) << c.name;
        EXPECT_EQ(c.product, f.product) << c.name;
    }
}

TEST(SmbiosTable, EveryTruncationReadsOnlyItsBytes)
{
    // Under the sanitizers every cut of a whole table is read within its bytes.
    const Bytes whole = rawTable(3, 1, join(join(kBios, kSystem), kEnd));
    for (std::size_t size = 0; size <= whole.size(); ++size) {
        Bytes cut(whole.begin(), whole.begin() + static_cast<long>(size));
        cut.shrink_to_fit();
        SmbiosFacts f;
        EXPECT_EQ(size >= 8, parseSmbiosTable(cut.data(), cut.size(), &f)) << size;
        if (size < whole.size() - kEnd.size()) {
            EXPECT_EQ("", f.uuid) << size;
        }
    }
}

}  // namespace
}  // namespace kel
