// The vendor tables and the seven model tables, row by row.
#include "collectors/CpuModels.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace kel {
namespace {

using namespace cpu;

struct VendorCase {
    const char* id;
    uint32_t code;
};

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

TEST(CpuVendors, EachIdentificationStringMatchesOnlyItsOwnRow)
{
    for (const VendorCase& c : kVendorCases)
        EXPECT_EQ(vendorCodeOf(c.id), c.code) << "vendor id \"" << c.id << "\"";
}

TEST(CpuVendors, NamesOfEveryRow)
{
    const char* const expected[kVendorRows][2] = {
        {"Vendor Unknown", "Unknown"},      {"Intel Corporation", "Intel"},
        {"Advanced Micro Devices", "AMD"},  {"Cyrix Corporation", "Cyrix"},
        {"IDT/Centaur", "IDT"},             {"NexGen Inc.", "NexGen"},
        {"United Microelectronics Corp", "UMC"}, {"Rise Technology", "Rise"},
    };
    for (std::size_t row = 0; row < kVendorRows; ++row) {
        EXPECT_STREQ(kVendors[row].fullName, expected[row][0]) << "row " << row;
        EXPECT_STREQ(kVendors[row].shortName, expected[row][1]) << "row " << row;
    }
    EXPECT_EQ(std::string(kVendors[kVendorUmc].id).size(), 11u);
}

#define MU "\xA5\xEC"
constexpr const char* kKeep = nullptr;  // the model name stays as it was

struct ModelCase {
    uint32_t vendor;
    uint32_t family, model, type, brandIndex, l2Kb, clockMhz;
    const char* modelName;
    const char* coreName;
    uint32_t transistors;
};

const ModelCase kModelCases[] = {
    // vendor        fam mod type brand L2    clock  model name                 core name                        transistors
    {kVendorIntel,    4,  0,  0,  0,     0,    0,    "i80486DX",                "P4",                            1250000},
    {kVendorIntel,    4,  1,  0,  0,     0,    0,    "i80486DX",                "P4",                            1250000},
    {kVendorIntel,    4,  2,  0,  0,     0,    0,    "i80486SX",                "P23",                           900000},
    {kVendorIntel,    4,  3,  0,  0,     0,    0,    "i80486DX2",               "P24",                           1250000},
    {kVendorIntel,    4,  4,  0,  0,     0,    0,    "i80486SL",                "P23",                           900000},
    {kVendorIntel,    4,  5,  0,  0,     0,    0,    "i80486SX2",               "P23",                           900000},
    {kVendorIntel,    4,  7,  0,  0,     0,    0,    "i80486DX2WB",             "P24",                           1250000},
    {kVendorIntel,    4,  8,  0,  0,     0,    0,    "i80486DX4",               "P24C",                          1600000},
    {kVendorIntel,    4,  9,  0,  0,     0,    0,    "i80486DX4WB",             "P24C",                          1600000},
    {kVendorIntel,    5,  0,  0,  0,     0,    0,    "Pentium",                 "P5 (0.80" MU ")",               3100000},
    {kVendorIntel,    5,  1,  0,  0,     0,    0,    "Pentium",                 "P54C (0.50" MU ")",             3100000},
    {kVendorIntel,    5,  2,  0,  0,     0,    0,    "Pentium",                 "P54C (0.50" MU ")",             3100000},
    {kVendorIntel,    5,  3,  0,  0,     0,    0,    "Pentium",                 "P24T",                          0},
    {kVendorIntel,    5,  4,  0,  0,     0,    0,    "Pentium MMX",             "P55C (0.28" MU ")",             4500000},
    {kVendorIntel,    5,  5,  0,  0,     0,    0,    "DX4",                     "",                              0},
    {kVendorIntel,    5,  6,  0,  0,     0,    0,    "Pentium",                 "P5",                            0},
    {kVendorIntel,    5,  7,  0,  0,     0,    0,    "Pentium",                 "P54C (0.35" MU ")",             3100000},
    {kVendorIntel,    5,  8,  0,  0,     0,    0,    "Pentium MMX (mobile)",    "Tillamook (0.25" MU ")",        4500000},
    {kVendorIntel,    5,  9,  0,  0,     0,    0,    "Pentium",                 "",                              0},
    {kVendorIntel,    5, 15,  0,  0,     0,    0,    "Pentium",                 "",                              0},
    {kVendorIntel,    6,  0,  0,  0,     0,    0,    "Pentium Pro",             "P6 (0.50" MU ")",               5500000},
    {kVendorIntel,    6,  1,  0,  0,     0,    0,    "Pentium Pro",             "P6 (0.35" MU ")",               5500000},
    {kVendorIntel,    6,  2,  0,  0,     0,    0,    "Pentium II",              "",                              0},
    {kVendorIntel,    6,  3,  0,  0,     512,  0,    "Pentium II",              "Klamath (0.35" MU ")",          7500000},
    {kVendorIntel,    6,  3,  1,  0,     512,  0,    "Pentium II OverDrive",    "Klamath (0.35" MU ")",          7500000},
    {kVendorIntel,    6,  3,  2,  0,     512,  0,    "Pentium II",              "Klamath (0.35" MU ")",          7500000},
    {kVendorIntel,    6,  4,  0,  0,     0,    0,    "Pentium II",              "P55CT (P54 OverDrive)",         3100000},
    {kVendorIntel,    6,  5,  0,  0,     0,    0,    "Celeron",                 "Covington (0.25" MU ")",        7500000},
    {kVendorIntel,    6,  5,  0,  0,     512,  0,    "Pentium II",              "Deschutes (0.25" MU ")",        7500000},
    {kVendorIntel,    6,  5,  0,  0,     128,  0,    "Pentium II",              "Deschutes (0.25" MU ")",        7500000},
    {kVendorIntel,    6,  5,  0,  0,     1024, 0,    "Pentium II Xeon",         "Deschutes (0.25" MU ")",        7500000},
    {kVendorIntel,    6,  6,  0,  0,     128,  0,    "Celeron A",               "Mendocino (0.25" MU ")",        19000000},
    {kVendorIntel,    6,  6,  0,  0,     255,  0,    "Celeron A",               "Mendocino (0.25" MU ")",        19000000},
    {kVendorIntel,    6,  6,  0,  0,     256,  0,    "Pentium II PE (mobile)",  "Dixon (0.25" MU ")",            27400000},
    {kVendorIntel,    6,  7,  0,  0,     512,  0,    "Pentium III",             "Katmai (0.25" MU ")",           9500000},
    {kVendorIntel,    6,  7,  0,  0,     513,  0,    "Pentium III Xeon",        "Tanner (0.25" MU ")",           9500000},
    {kVendorIntel,    6,  8,  0,  0,     256,  0,    "Pentium III E",           "Coppermine (0.18" MU ")",       28100000},
    {kVendorIntel,    6, 10,  0,  0,     256,  0,    "Pentium II",              "",                              0},
    {kVendorIntel,    6, 15,  0,  0,     256,  0,    "Pentium II",              "",                              0},
    {kVendorIntel,    7,  0,  0,  1,     2048, 0,    "Celeron",                 "",                              0},
    {kVendorIntel,    8,  3,  0,  3,     0,    0,    "Pentium III Xeon",        "",                              0},
    {kVendorIntel,    7,  9,  0,  4,     2048, 0,    "Pentium IV",              "",                              0},
    {kVendorIntel,    7,  1,  0,  2,     1024, 0,    "Pentium III Xeon",        "",                              0},
    {kVendorIntel,    7,  1,  0,  2,     512,  0,    "Pentium III",             "",                              0},
    {kVendorIntel,    8, 15,  0,  0,     1023, 0,    "Pentium III",             "",                              0},
    {kVendorIntel,   10,  7,  0,  0,     0,    0,    "Pentium III Xeon",        "",                              0},
    {kVendorIntel,   15,  2,  0,  9,     512,  0,    "Pentium IV",              "",                              0},
    {kVendorAmd,      4,  0,  0,  0,     0,    0,    "Am486DX",                 "P4",                            1250000},
    {kVendorAmd,      4,  3,  0,  0,     0,    0,    "Am486DX2",                "P24",                           1250000},
    {kVendorAmd,      4,  7,  0,  0,     0,    0,    "Am486DX2",                "P24",                           1250000},
    {kVendorAmd,      4,  8,  0,  0,     0,    0,    "Am486DX4",                "P24C",                          1250000},
    {kVendorAmd,      4,  9,  0,  0,     0,    0,    "Am486DX4",                "P24C",                          1250000},
    {kVendorAmd,      4, 14,  0,  0,     0,    0,    "Am5x86",                  "X5",                            1600000},
    {kVendorAmd,      4, 15,  0,  0,     0,    0,    "Am5x86",                  "X5",                            1600000},
    {kVendorAmd,      5,  0,  0,  0,     0,    0,    "K5",                      "SSA5 (0.50-0.35" MU ")",        4300000},
    {kVendorAmd,      5,  1,  0,  0,     0,    0,    "K5-5k86 (PR120, PR133)",  "5k86 (0.35" MU ")",             4300000},
    {kVendorAmd,      5,  3,  0,  0,     0,    0,    "K5-5k86 (PR120, PR133)",  "5k86 (0.35" MU ")",             4300000},
    {kVendorAmd,      5,  6,  0,  0,     0,    0,    "K6",                      "K6 (0.30" MU ")",               8800000},
    {kVendorAmd,      5,  7,  0,  0,     0,    0,    "K6",                      "Little Foot (0.25" MU ")",      8800000},
    {kVendorAmd,      5,  8,  0,  0,     0,    0,    "K6-II",                   "Chomper (0.25" MU ")",          9300000},
    {kVendorAmd,      5,  9,  0,  0,     0,    0,    "K6-III",                  "Slarptooth (0.25" MU ")",       21300000},
    {kVendorAmd,      5, 13,  0,  0,     0,    0,    "K6-II+/K6-III+",          "",                              0},
    {kVendorAmd,      6,  0,  0,  0,     0,    0,    "K7",                      "Athlon (0.25-0.18" MU ")",      22000000},
    {kVendorAmd,      6, 11,  0,  0,     0,    0,    "K7",                      "Athlon (0.25-0.18" MU ")",      22000000},
    {kVendorCyrix,    4,  0,  0,  0,     0,    20,   "Cx486SLC/DLC",            "M0.5",                          600000},
    {kVendorCyrix,    4,  0,  0,  0,     0,    66,   "Cx486SLC/DLC",            "M0.5",                          600000},
    {kVendorCyrix,    4,  0,  0,  0,     0,    33,   "Cx486S",                  "M0.6",                          600000},
    {kVendorCyrix,    4,  0,  0,  0,     0,    50,   "Cx486S",                  "M0.6",                          600000},
    {kVendorCyrix,    4,  0,  0,  0,     0,    67,   "Cx486DX/DX2/DX4",         "M0.7",                          1100000},
    {kVendorCyrix,    4,  0,  0,  0,     0,    80,   "Cx486DX/DX2/DX4",         "M0.7",                          1100000},
    {kVendorCyrix,    4,  4,  0,  0,     0,    0,    "Media GX",                "Gx86",                          24000000},
    {kVendorCyrix,    4,  9,  0,  0,     0,    0,    "5x86",                    "M0.9 or M1sc (0.65" MU ")",     20000000},
    {kVendorCyrix,    5,  2,  0,  0,     0,    0,    "6x86 and 6x86L",          "M1 (0.65" MU ") and M1L (0.35" MU ")", 30000000},
    {kVendorCyrix,    5,  4,  0,  0,     0,    0,    "MediaGXm",                "GXm",                           24000000},
    {kVendorCyrix,    5,  0,  0,  0,     0,    220,  "6x86MX (PR166-266)",      "M2 (0.35" MU ")",               65000000},
    {kVendorCyrix,    6,  0,  0,  0,     0,    224,  "6x86MX (PR166-266)",      "M2 (0.35" MU ")",               65000000},
    {kVendorCyrix,    5,  0,  0,  0,     0,    233,  "M-II (PR300-433)",        "M2 (0.35-0.25" MU ")",          65000000},
    {kVendorCyrix,    6,  0,  0,  0,     0,    225,  "M-II (PR300-433)",        "M2 (0.35-0.25" MU ")",          65000000},
    {kVendorCyrix,    5,  5,  0,  0,     0,    0,    "VIA Cyrix III",           "",                              0},
    {kVendorCyrix,    6,  5,  0,  0,     0,    0,    "VIA Cyrix III",           "",                              0},
    {kVendorIdt,      5,  4,  0,  0,     0,    0,    "WinChip",                 "C6 (0.35" MU ")",               54000000},
    {kVendorIdt,      5,  8,  0,  0,     0,    0,    "WinChip 2x",              "W2x (0.35-0.25" MU ")",         59000000},
    {kVendorIdt,      5,  9,  0,  0,     0,    0,    "WinChip 3",               "W3 (0.25" MU ")",               90000000},
    {kVendorNexGen,   5,  0,  0,  0,     0,    0,    "Nx586",                   "Nx5x86 (0.50-0.44" MU ")",      35000000},
    {kVendorNexGen,   5,  6,  0,  0,     0,    0,    "Nx686",                   "HA (0.50" MU ")",               60000000},
    {kVendorUmc,      4,  0,  0,  0,     0,    0,    kKeep,                     "U5D and U5S",                   12000000},
    {kVendorUmc,      4,  1,  0,  0,     0,    0,    "U5D",                     "U5D and U5S",                   12000000},
    {kVendorUmc,      4,  2,  0,  0,     0,    0,    "U5S",                     "U5D and U5S",                   12000000},
    {kVendorUmc,      4,  3,  0,  0,     0,    0,    "U486DX2",                 "U5D and U5S",                   12000000},
    {kVendorUmc,      4,  4,  0,  0,     0,    0,    "U486SX2",                 "U5D and U5S",                   12000000},
    {kVendorUmc,      4, 15,  0,  0,     0,    0,    kKeep,                     "U5D and U5S",                   12000000},
    {kVendorRise,     4,  0,  0,  0,     0,    0,    "mP6",                     "mP6 (0.25-0.18" MU ")",         36000000},
    {kVendorRise,     4,  2,  0,  0,     0,    0,    "mP6",                     "mP6 (0.25-0.18" MU ")",         36000000},
};

// Family and model pairs without a row: the model fields stay as they were.
struct UnchangedCase {
    uint32_t vendor, family, model, clockMhz;
};

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

ModelInput inputOf(uint32_t family, uint32_t model, uint32_t type, uint32_t brandIndex,
                   uint32_t l2Kb, uint32_t clockMhz)
{
    ModelInput input;
    input.family = family;
    input.model = model;
    input.type = type;
    input.brandIndex = brandIndex;
    input.l2Kb = l2Kb;
    input.clockMhz = clockMhz;
    return input;
}

std::string shown(const char* text)
{
    return text == nullptr ? "(unchanged)" : '"' + std::string(text) + '"';
}

TEST(CpuModels, EveryRowGivesItsNames)
{
    std::set<const ModelRow*> used;
    for (const ModelCase& c : kModelCases) {
        const ModelInput input = inputOf(c.family, c.model, c.type, c.brandIndex, c.l2Kb, c.clockMhz);
        const ModelRow* row = findModelRow(kModelTables[c.vendor], input);
        const std::string where = "vendor " + std::to_string(c.vendor) + " family " +
                                  std::to_string(c.family) + " model " + std::to_string(c.model) +
                                  " type " + std::to_string(c.type) + " brand " +
                                  std::to_string(c.brandIndex) + " L2 " + std::to_string(c.l2Kb) +
                                  " clock " + std::to_string(c.clockMhz);
        ASSERT_NE(row, nullptr) << where << ": no row";
        used.insert(row);
        EXPECT_EQ(shown(row->modelName), shown(c.modelName)) << where;
        EXPECT_EQ(shown(row->coreName), shown(c.coreName)) << where;
        EXPECT_EQ(row->transistors, c.transistors) << where;
    }
    for (uint32_t vendor = 1; vendor < kVendorRows; ++vendor) {
        const ModelTable& table = kModelTables[vendor];
        for (std::size_t i = 0; i < table.count; ++i)
            EXPECT_EQ(used.count(&table.rows[i]), 1u)
                << "vendor " << vendor << " row " << i << " (" << shown(table.rows[i].modelName)
                << ") is never exercised";
    }
}

TEST(CpuModels, PairsWithoutARowChangeNothing)
{
    for (const UnchangedCase& c : kUnchangedCases) {
        const ModelRow* row =
            findModelRow(kModelTables[c.vendor], inputOf(c.family, c.model, 0, 0, 512, c.clockMhz));
        EXPECT_EQ(row, nullptr) << "vendor " << c.vendor << " family " << c.family << " model "
                                << c.model << " clock " << c.clockMhz << " gave "
                                << shown(row ? row->modelName : "?");
    }
}

TEST(CpuModels, OutOfRangeSignatureMatchesNothing)
{
    EXPECT_EQ(findModelRow(kModelTables[kVendorIntel], inputOf(16, 0, 0, 0, 0, 0)), nullptr);
    EXPECT_EQ(findModelRow(kModelTables[kVendorAmd], inputOf(6, 16, 0, 0, 0, 0)), nullptr);
}

TEST(CpuModels, CoreNamesCarryTheMicroSignAsTwoBytes)
{
    const ModelRow* row = findModelRow(kModelTables[kVendorIntel], inputOf(6, 7, 0, 0, 512, 0));
    ASSERT_NE(row, nullptr);
    const std::string core = row->coreName;
    ASSERT_EQ(core.size(), 15u) << '"' << core << '"';
    EXPECT_EQ(static_cast<unsigned char>(core[12]), 0xA5u);
    EXPECT_EQ(static_cast<unsigned char>(core[13]), 0xECu);
}

}  // namespace
}  // namespace kel
