// The vendor tables, and what the seven model tables decide: which row the
// conditions pick, that no row hides behind another, the gaps, and the rows
// whose texts are odd enough to pin byte for byte. The real chips' rows are
// checked through their CPU lines in RealChipsTest.
#include "collectors/CpuModels.h"

#include <gtest/gtest.h>

#include <cctype>
#include <set>
#include <string>
#include <vector>

namespace kel {
namespace {

using namespace cpu;

struct VendorCase {
    const char* id;
    uint32_t code;
};

// clang-format off
const VendorCase kVendorCases[] = {
    {"GenuineIntel", kVendorIntel},
    {"AuthenticAMD", kVendorAmd},
    {"CyrixInstead", kVendorCyrix},
    {"CentaurHauls", kVendorIdt},
    {"NexGenDriven", kVendorNexGen},
    {"UMC UMC UMC", kVendorUmc},
    {"UMC UMC UMC ", kVendorUmc},  // as real UMC processors report it
    {"RiseRiseRise", kVendorRise},
    {"genuineintel", kVendorUnknown},
    {"GENUINEINTEL", kVendorUnknown},
    {"GenuineIntel ", kVendorUnknown},
    {"GenuineInte", kVendorUnknown},
    {"AuthenticAMD ", kVendorUnknown},
    {"UMC UMC UMC  ", kVendorUnknown},
    {"UMC UMC UMCx", kVendorUnknown},
    {"UMC UMC UM", kVendorUnknown},
    {"Vendor_Unknown", kVendorUnknown},
    {"", kVendorUnknown},
    {"HygonGenuine", kVendorUnknown},
};
// clang-format on

TEST(CpuVendors, EachIdentificationStringMatchesOnlyItsOwnRow)
{
    for (const VendorCase& c : kVendorCases)
        EXPECT_EQ(vendorCodeOf(c.id), c.code) << "vendor id \"" << c.id << "\"";
}

TEST(CpuVendors, NamesOfEveryRow)
{
    // clang-format off
    const char* const expected[kVendorRows][2] = {
        {"Vendor Unknown", "Unknown"},      {"Intel Corporation", "Intel"},
        {"Advanced Micro Devices", "AMD"},  {"Cyrix Corporation", "Cyrix"},
        {"IDT/Centaur", "IDT"},             {"NexGen Inc.", "NexGen"},
        {"United Microelectronics Corp", "UMC"}, {"Rise Technology", "Rise"},
    };
    // clang-format on
    for (std::size_t row = 0; row < kVendorRows; ++row) {
        EXPECT_STREQ(kVendors[row].fullName, expected[row][0]) << "row " << row;
        EXPECT_STREQ(kVendors[row].shortName, expected[row][1]) << "row " << row;
    }
    EXPECT_EQ(std::string(kVendors[kVendorUmc].id).size(), 11u);
}

#define MU "\xA5\xEC"
constexpr const char* kKeep = nullptr;  // the model name stays as it was

ModelInput inputOf(uint32_t family, uint32_t model, uint32_t type, uint32_t brandIndex, uint32_t l2Kb,
                   uint32_t clockMhz)
{
    return ModelInput{family, model, type, brandIndex, l2Kb, clockMhz};
}

std::string shown(const char* text)
{
    return text == nullptr ? "(unchanged)" : '"' + std::string(text) + '"';
}

std::string describe(uint32_t vendor, const ModelInput& in)
{
    return "vendor " + std::to_string(vendor) + " family " + std::to_string(in.family) + " model " +
           std::to_string(in.model) + " type " + std::to_string(in.type) + " brand " +
           std::to_string(in.brandIndex) + " L2 " + std::to_string(in.l2Kb) + " clock " +
           std::to_string(in.clockMhz);
}

// Conditions, their boundaries, and models that share a row: the model name
// tells which row was picked.
struct PickCase {
    uint32_t vendor;
    uint32_t family, model, type, brandIndex, l2Kb, clockMhz;
    const char* modelName;
};

// clang-format off
const PickCase kPickCases[] = {
    // vendor        fam mod type brand L2    clock  model name
    {kVendorIntel,    4,  1,  0,  0,     0,    0,    "i80486DX"},
    {kVendorIntel,    5,  9,  0,  0,     0,    0,    "Pentium"},
    {kVendorIntel,    5, 15,  0,  0,     0,    0,    "Pentium"},
    {kVendorIntel,    6,  3,  2,  0,     512,  0,    "Pentium II"},  // only type 1 is an OverDrive
    {kVendorIntel,    6,  5,  0,  0,     1,    0,    "Pentium II"},
    {kVendorIntel,    6,  5,  0,  0,     513,  0,    "Pentium II Xeon"},
    {kVendorIntel,    6,  5,  0,  0,     1024, 0,    "Pentium II Xeon"},
    {kVendorIntel,    6,  6,  0,  0,     0,    0,    "Celeron A"},
    {kVendorIntel,    6,  6,  0,  0,     255,  0,    "Celeron A"},
    {kVendorIntel,    6,  6,  0,  0,     256,  0,    "Pentium II PE (mobile)"},
    {kVendorIntel,    6,  7,  0,  0,     513,  0,    "Pentium III Xeon"},
    {kVendorIntel,    6,  9,  0,  0,     256,  0,    "Pentium II"},
    {kVendorIntel,    6, 10,  0,  0,     256,  0,    "Pentium II"},
    {kVendorIntel,    7,  0,  0,  1,     2048, 0,    "Celeron"},  // the brand index comes first
    {kVendorIntel,    8,  3,  0,  3,     0,    0,    "Pentium III Xeon"},
    {kVendorIntel,    7,  9,  0,  4,     2048, 0,    "Pentium IV"},
    {kVendorIntel,    7,  1,  0,  2,     1024, 0,    "Pentium III Xeon"},
    {kVendorIntel,    7,  1,  0,  2,     512,  0,    "Pentium III"},
    {kVendorIntel,    8, 15,  0,  0,     1023, 0,    "Pentium III"},
    {kVendorIntel,   10,  7,  0,  0,     0,    0,    "Pentium III Xeon"},
    {kVendorAmd,      4,  3,  0,  0,     0,    0,    "Am486DX2"},
    {kVendorAmd,      4,  7,  0,  0,     0,    0,    "Am486DX2"},
    {kVendorAmd,      4,  8,  0,  0,     0,    0,    "Am486DX4"},
    {kVendorAmd,      4, 14,  0,  0,     0,    0,    "Am5x86"},
    {kVendorAmd,      4, 15,  0,  0,     0,    0,    "Am5x86"},
    {kVendorAmd,      5,  3,  0,  0,     0,    0,    "K5-5k86 (PR120, PR133)"},
    {kVendorAmd,      6,  0,  0,  0,     0,    0,    "K7"},
    {kVendorAmd,      6, 15,  0,  0,     0,    0,    "K7"},
    {kVendorCyrix,    4,  0,  0,  0,     0,    20,   "Cx486SLC/DLC"},
    {kVendorCyrix,    4,  0,  0,  0,     0,    66,   "Cx486SLC/DLC"},
    {kVendorCyrix,    4,  0,  0,  0,     0,    33,   "Cx486S"},
    {kVendorCyrix,    4,  0,  0,  0,     0,    50,   "Cx486S"},
    {kVendorCyrix,    4,  0,  0,  0,     0,    67,   "Cx486DX/DX2/DX4"},
    {kVendorCyrix,    4,  0,  0,  0,     0,    80,   "Cx486DX/DX2/DX4"},
    {kVendorCyrix,    5,  0,  0,  0,     0,    220,  "6x86MX (PR166-266)"},
    {kVendorCyrix,    6,  0,  0,  0,     0,    224,  "6x86MX (PR166-266)"},
    {kVendorCyrix,    5,  0,  0,  0,     0,    233,  "M-II (PR300-433)"},
    {kVendorCyrix,    6,  0,  0,  0,     0,    225,  "M-II (PR300-433)"},
    {kVendorCyrix,    5,  5,  0,  0,     0,    0,    "VIA Cyrix III"},
    {kVendorCyrix,    6,  5,  0,  0,     0,    0,    "VIA Cyrix III"},
    {kVendorUmc,      4,  1,  0,  0,     0,    0,    "U5D"},
    {kVendorUmc,      4,  4,  0,  0,     0,    0,    "U486SX2"},
    {kVendorUmc,      4,  5,  0,  0,     0,    0,    kKeep},
    {kVendorUmc,      4, 15,  0,  0,     0,    0,    kKeep},
    {kVendorRise,     4,  0,  0,  0,     0,    0,    "mP6"},
    {kVendorRise,     4,  2,  0,  0,     0,    0,    "mP6"},
};
// clang-format on

TEST(CpuModels, ConditionsPickTheirRow)
{
    for (const PickCase& c : kPickCases) {
        const ModelInput input = inputOf(c.family, c.model, c.type, c.brandIndex, c.l2Kb, c.clockMhz);
        const ModelRow* row = findModelRow(kModelTables[c.vendor], input);
        ASSERT_NE(row, nullptr) << describe(c.vendor, input) << ": no row";
        EXPECT_EQ(shown(row->modelName), shown(c.modelName)) << describe(c.vendor, input);
    }
}

// Rows whose texts no real chip's CPU line shows and that are easy to get
// wrong: odd spellings, two process sizes or none, counts of 0, and a count
// that differs from the other vendor's for the same model.
struct TextCase {
    uint32_t vendor;
    uint32_t family, model, l2Kb;
    const char* modelName;
    const char* coreName;
    uint32_t transistors;
};

// clang-format off
const TextCase kTextCases[] = {
    // vendor        fam mod L2    model name                 core name                               transistors
    {kVendorIntel,    5,  3, 0,    "Pentium",                 "P24T",                                 0},
    {kVendorIntel,    5,  5, 0,    "DX4",                     "",                                     0},
    {kVendorIntel,    5,  8, 0,    "Pentium MMX (mobile)",    "Tillamook (0.25" MU ")",               4500000},
    {kVendorIntel,    6,  4, 0,    "Pentium II",              "P55CT (P54 OverDrive)",                3100000},
    {kVendorIntel,    6,  6, 256,  "Pentium II PE (mobile)",  "Dixon (0.25" MU ")",                   27400000},
    {kVendorAmd,      4,  9, 0,    "Am486DX4",                "P24C",                                 1250000},
    {kVendorAmd,      5,  7, 0,    "K6",                      "Little Foot (0.25" MU ")",             8800000},
    {kVendorAmd,      5,  9, 0,    "K6-III",                  "Slarptooth (0.25" MU ")",              21300000},
    {kVendorAmd,      5, 13, 0,    "K6-II+/K6-III+",          "",                                     0},
    {kVendorCyrix,    4,  4, 0,    "Media GX",                "Gx86",                                 24000000},
    {kVendorCyrix,    4,  9, 0,    "5x86",                    "M0.9 or M1sc (0.65" MU ")",            20000000},
    {kVendorCyrix,    5,  2, 0,    "6x86 and 6x86L",          "M1 (0.65" MU ") and M1L (0.35" MU ")", 30000000},
    {kVendorCyrix,    5,  4, 0,    "MediaGXm",                "GXm",                                  24000000},
    {kVendorNexGen,   5,  0, 0,    "Nx586",                   "Nx5x86 (0.50-0.44" MU ")",             35000000},
    {kVendorUmc,      4,  0, 0,    kKeep,                     "U5D and U5S",                          12000000},
};
// clang-format on

TEST(CpuModels, RowsWithOddTextsGiveThemByteForByte)
{
    for (const TextCase& c : kTextCases) {
        const ModelInput input = inputOf(c.family, c.model, 0, 0, c.l2Kb, 0);
        const ModelRow* row = findModelRow(kModelTables[c.vendor], input);
        ASSERT_NE(row, nullptr) << describe(c.vendor, input) << ": no row";
        EXPECT_EQ(shown(row->modelName), shown(c.modelName)) << describe(c.vendor, input);
        EXPECT_EQ(shown(row->coreName), shown(c.coreName)) << describe(c.vendor, input);
        EXPECT_EQ(row->transistors, c.transistors) << describe(c.vendor, input);
    }
}

// Every value a condition of the table tests, with its neighbours.
std::vector<uint32_t> probesOf(const ModelTable& table, Input which)
{
    std::set<uint32_t> values = {0};
    for (std::size_t i = 0; i < table.count; ++i) {
        const ModelRow& row = table.rows[i];
        if (row.when != which)
            continue;
        for (uint32_t v : {row.low, row.high}) {
            values.insert(v - 1);
            values.insert(v);
            values.insert(v + 1);
        }
    }
    return {values.begin(), values.end()};
}

// A row that an earlier row hides, or whose condition nothing meets, is a
// mistake in the table: every row must be the answer for some input.
TEST(CpuModels, EveryRowIsTheAnswerForSomeInput)
{
    for (uint32_t vendor = 1; vendor < kVendorRows; ++vendor) {
        const ModelTable& table = kModelTables[vendor];
        const std::vector<uint32_t> types = probesOf(table, Input::Type);
        const std::vector<uint32_t> brands = probesOf(table, Input::BrandIndex);
        const std::vector<uint32_t> caches = probesOf(table, Input::L2Kb);
        const std::vector<uint32_t> clocks = probesOf(table, Input::ClockMhz);
        std::set<const ModelRow*> picked;
        for (uint32_t family = 0; family < 16; ++family)
            for (uint32_t model = 0; model < 16; ++model)
                for (uint32_t type : types)
                    for (uint32_t brand : brands)
                        for (uint32_t l2 : caches)
                            for (uint32_t clock : clocks)
                                picked.insert(
                                    findModelRow(table, inputOf(family, model, type, brand, l2, clock)));
        for (std::size_t i = 0; i < table.count; ++i)
            EXPECT_EQ(picked.count(&table.rows[i]), 1u)
                << "vendor " << vendor << " row " << i << " (" << shown(table.rows[i].modelName)
                << ") never applies";
    }
}

// Family and model pairs without a row: the model fields stay as they were.
struct UnchangedCase {
    uint32_t vendor, family, model, clockMhz;
};

// clang-format off
const UnchangedCase kUnchangedCases[] = {
    {kVendorIntel, 4, 6, 0},   {kVendorIntel, 4, 10, 0},  {kVendorIntel, 4, 15, 0},
    {kVendorIntel, 0, 0, 0},   {kVendorIntel, 3, 0, 0},   {kVendorIntel, 9, 0, 0},
    {kVendorIntel, 11, 0, 0},  {kVendorIntel, 14, 0, 0},  {kVendorAmd, 4, 1, 0},
    {kVendorAmd, 4, 2, 0},     {kVendorAmd, 4, 4, 0},     {kVendorAmd, 4, 6, 0},
    {kVendorAmd, 4, 10, 0},    {kVendorAmd, 4, 13, 0},    {kVendorAmd, 5, 4, 0},
    {kVendorAmd, 5, 5, 0},     {kVendorAmd, 5, 10, 0},    {kVendorAmd, 5, 12, 0},
    {kVendorAmd, 5, 14, 0},    {kVendorAmd, 5, 15, 0},    {kVendorAmd, 15, 1, 0},
    {kVendorAmd, 3, 0, 0},     {kVendorCyrix, 4, 0, 60},  {kVendorCyrix, 4, 0, 0},
    {kVendorCyrix, 4, 0, 21},  {kVendorCyrix, 4, 0, 34},  {kVendorCyrix, 4, 1, 100},
    {kVendorCyrix, 5, 1, 0},   {kVendorCyrix, 6, 2, 0},   {kVendorCyrix, 6, 4, 0},
    {kVendorCyrix, 7, 0, 300}, {kVendorIdt, 5, 0, 0},     {kVendorIdt, 6, 4, 0},
    {kVendorNexGen, 5, 1, 0},  {kVendorNexGen, 6, 0, 0},  {kVendorUmc, 5, 1, 0},
    {kVendorRise, 4, 1, 0},    {kVendorRise, 5, 0, 0},    {kVendorUnknown, 6, 7, 0},
};
// clang-format on

TEST(CpuModels, PairsWithoutARowChangeNothing)
{
    for (const UnchangedCase& c : kUnchangedCases) {
        const ModelRow* row =
            findModelRow(kModelTables[c.vendor], inputOf(c.family, c.model, 0, 0, 512, c.clockMhz));
        EXPECT_EQ(row, nullptr) << "vendor " << c.vendor << " family " << c.family << " model " << c.model
                                << " clock " << c.clockMhz << " gave " << shown(row ? row->modelName : "?");
    }
}

TEST(CpuModels, OutOfRangeSignatureMatchesNothing)
{
    EXPECT_EQ(findModelRow(kModelTables[kVendorIntel], inputOf(16, 0, 0, 0, 0, 0)), nullptr);
    EXPECT_EQ(findModelRow(kModelTables[kVendorAmd], inputOf(6, 16, 0, 0, 0, 0)), nullptr);
}

bool isMicroSignAt(const std::string& text, std::size_t at)
{
    return at > 0 && at + 2 < text.size() && std::isdigit(static_cast<unsigned char>(text[at - 1])) &&
           text.compare(at, 2, MU) == 0 && (text[at + 2] == ')' || text[at + 2] == ' ');
}

// Every text is ASCII but for the micro sign, the two bytes of the Korean
// code page, which only ever follows a size.
TEST(CpuModels, TextsAreAsciiButForTheTwoByteMicroSign)
{
    for (uint32_t vendor = 1; vendor < kVendorRows; ++vendor) {
        const ModelTable& table = kModelTables[vendor];
        for (std::size_t i = 0; i < table.count; ++i) {
            for (const char* text : {table.rows[i].modelName, table.rows[i].coreName}) {
                const std::string s = text ? text : "";
                for (std::size_t at = 0; at < s.size(); ++at) {
                    if (s[at] >= 0x20 && s[at] < 0x7F)
                        continue;
                    EXPECT_TRUE(isMicroSignAt(s, at))
                        << "vendor " << vendor << " row " << i << " byte " << at << " of \"" << s << "\"";
                    ++at;
                }
            }
        }
    }
}

}  // namespace
}  // namespace kel
