#include "collectors/CpuModels.h"

namespace kel {
namespace cpu {

// Real UMC processors pad their identification string with a blank to the
// twelve bytes every other vendor fills; the table's eleven-byte form alone
// would never match one.
// clang-format off
const VendorRow kVendors[kVendorRows] = {
    // identification   also            full name                        short name
    {"Vendor_Unknown",  nullptr,        "Vendor Unknown",                "Unknown"},
    {"GenuineIntel",    nullptr,        "Intel Corporation",             "Intel"},
    {"AuthenticAMD",    nullptr,        "Advanced Micro Devices",        "AMD"},
    {"CyrixInstead",    nullptr,        "Cyrix Corporation",             "Cyrix"},
    {"CentaurHauls",    nullptr,        "IDT/Centaur",                   "IDT"},
    {"NexGenDriven",    nullptr,        "NexGen Inc.",                   "NexGen"},
    {"UMC UMC UMC",     "UMC UMC UMC ", "United Microelectronics Corp",  "UMC"},
    {"RiseRiseRise",    nullptr,        "Rise Technology",               "Rise"},
};
// clang-format on

uint32_t vendorCodeOf(const std::string& vendorId)
{
    for (uint32_t code = 1; code < kVendorRows; ++code) {
        const VendorRow& row = kVendors[code];
        if (vendorId == row.id || (row.alsoId != nullptr && vendorId == row.alsoId))
            return code;
    }
    return kVendorUnknown;
}

namespace {

constexpr uint16_t bit(unsigned n) { return static_cast<uint16_t>(1u << n); }

constexpr uint16_t span(unsigned first, unsigned last)
{
    return static_cast<uint16_t>(((1u << (last + 1)) - 1) & ~((1u << first) - 1));
}

constexpr uint16_t kAll = 0xFFFF;
constexpr uint32_t kTop = 0xFFFFFFFF;

// "\xA5\xEC" is the micro sign in the Korean code page the names were
// written in; it is kept byte for byte.
//
// Within a table the first row that applies wins, so a row without a test
// after rows with one is the "otherwise" case.

// clang-format off
const ModelRow kIntelModels[] = {
    // families         models            test               low   high  model name                core name                        transistors
    {bit(4),            bit(0) | bit(1),  Input::None,        0,    0,   "i80486DX",               "P4",                            1250000},
    {bit(4),            bit(2),           Input::None,        0,    0,   "i80486SX",               "P23",                           900000},
    {bit(4),            bit(3),           Input::None,        0,    0,   "i80486DX2",              "P24",                           1250000},
    {bit(4),            bit(4),           Input::None,        0,    0,   "i80486SL",               "P23",                           900000},
    {bit(4),            bit(5),           Input::None,        0,    0,   "i80486SX2",              "P23",                           900000},
    {bit(4),            bit(7),           Input::None,        0,    0,   "i80486DX2WB",            "P24",                           1250000},
    {bit(4),            bit(8),           Input::None,        0,    0,   "i80486DX4",              "P24C",                          1600000},
    {bit(4),            bit(9),           Input::None,        0,    0,   "i80486DX4WB",            "P24C",                          1600000},
    {bit(5),            bit(0),           Input::None,        0,    0,   "Pentium",                "P5 (0.80\xA5\xEC)",             3100000},
    {bit(5),            bit(1) | bit(2),  Input::None,        0,    0,   "Pentium",                "P54C (0.50\xA5\xEC)",           3100000},
    {bit(5),            bit(3),           Input::None,        0,    0,   "Pentium",                "P24T",                          0},
    {bit(5),            bit(4),           Input::None,        0,    0,   "Pentium MMX",            "P55C (0.28\xA5\xEC)",           4500000},
    {bit(5),            bit(5),           Input::None,        0,    0,   "DX4",                    "",                              0},
    {bit(5),            bit(6),           Input::None,        0,    0,   "Pentium",                "P5",                            0},
    {bit(5),            bit(7),           Input::None,        0,    0,   "Pentium",                "P54C (0.35\xA5\xEC)",           3100000},
    {bit(5),            bit(8),           Input::None,        0,    0,   "Pentium MMX (mobile)",   "Tillamook (0.25\xA5\xEC)",      4500000},
    {bit(5),            span(9, 15),      Input::None,        0,    0,   "Pentium",                "",                              0},
    {bit(6),            bit(0),           Input::None,        0,    0,   "Pentium Pro",            "P6 (0.50\xA5\xEC)",             5500000},
    {bit(6),            bit(1),           Input::None,        0,    0,   "Pentium Pro",            "P6 (0.35\xA5\xEC)",             5500000},
    {bit(6),            bit(2),           Input::None,        0,    0,   "Pentium II",             "",                              0},
    {bit(6),            bit(3),           Input::Type,        1,    1,   "Pentium II OverDrive",   "Klamath (0.35\xA5\xEC)",        7500000},
    {bit(6),            bit(3),           Input::None,        0,    0,   "Pentium II",             "Klamath (0.35\xA5\xEC)",        7500000},
    {bit(6),            bit(4),           Input::None,        0,    0,   "Pentium II",             "P55CT (P54 OverDrive)",         3100000},
    {bit(6),            bit(5),           Input::L2Kb,        513,  kTop, "Pentium II Xeon",       "Deschutes (0.25\xA5\xEC)",      7500000},
    {bit(6),            bit(5),           Input::L2Kb,        0,    0,   "Celeron",                "Covington (0.25\xA5\xEC)",      7500000},
    {bit(6),            bit(5),           Input::None,        0,    0,   "Pentium II",             "Deschutes (0.25\xA5\xEC)",      7500000},
    {bit(6),            bit(6),           Input::L2Kb,        0,    255, "Celeron A",              "Mendocino (0.25\xA5\xEC)",      19000000},
    {bit(6),            bit(6),           Input::None,        0,    0,   "Pentium II PE (mobile)", "Dixon (0.25\xA5\xEC)",          27400000},
    {bit(6),            bit(7),           Input::L2Kb,        513,  kTop, "Pentium III Xeon",      "Tanner (0.25\xA5\xEC)",         9500000},
    {bit(6),            bit(7),           Input::None,        0,    0,   "Pentium III",            "Katmai (0.25\xA5\xEC)",         9500000},
    {bit(6),            bit(8),           Input::None,        0,    0,   "Pentium III E",          "Coppermine (0.18\xA5\xEC)",     28100000},
    {bit(6),            span(9, 15),      Input::None,        0,    0,   "Pentium II",             "",                              0},
    {bit(7) | bit(8),   kAll,             Input::BrandIndex,  1,    1,   "Celeron",                "",                              0},
    {bit(7) | bit(8),   kAll,             Input::BrandIndex,  3,    3,   "Pentium III Xeon",       "",                              0},
    {bit(7) | bit(8),   kAll,             Input::BrandIndex,  4,    4,   "Pentium IV",             "",                              0},
    {bit(7) | bit(8),   kAll,             Input::L2Kb,        1024, kTop, "Pentium III Xeon",      "",                              0},
    {bit(7) | bit(8),   kAll,             Input::None,        0,    0,   "Pentium III",            "",                              0},
    {bit(10),           kAll,             Input::None,        0,    0,   "Pentium III Xeon",       "",                              0},
    {bit(15),           kAll,             Input::None,        0,    0,   "Pentium IV",             "",                              0},
};
// clang-format on

// clang-format off
const ModelRow kAmdModels[] = {
    // families         models            test               low   high  model name                core name                        transistors
    {bit(4),            bit(0),           Input::None,        0,    0,   "Am486DX",                "P4",                            1250000},
    {bit(4),            bit(3) | bit(7),  Input::None,        0,    0,   "Am486DX2",               "P24",                           1250000},
    {bit(4),            bit(8) | bit(9),  Input::None,        0,    0,   "Am486DX4",               "P24C",                          1250000},
    {bit(4),            span(14, 15),     Input::None,        0,    0,   "Am5x86",                 "X5",                            1600000},
    {bit(5),            bit(0),           Input::None,        0,    0,   "K5",                     "SSA5 (0.50-0.35\xA5\xEC)",      4300000},
    {bit(5),            span(1, 3),       Input::None,        0,    0,   "K5-5k86 (PR120, PR133)", "5k86 (0.35\xA5\xEC)",           4300000},
    {bit(5),            bit(6),           Input::None,        0,    0,   "K6",                     "K6 (0.30\xA5\xEC)",             8800000},
    {bit(5),            bit(7),           Input::None,        0,    0,   "K6",                     "Little Foot (0.25\xA5\xEC)",    8800000},
    {bit(5),            bit(8),           Input::None,        0,    0,   "K6-II",                  "Chomper (0.25\xA5\xEC)",        9300000},
    {bit(5),            bit(9),           Input::None,        0,    0,   "K6-III",                 "Slarptooth (0.25\xA5\xEC)",     21300000},
    {bit(5),            bit(13),          Input::None,        0,    0,   "K6-II+/K6-III+",         "",                              0},
    {bit(6),            kAll,             Input::None,        0,    0,   "K7",                     "Athlon (0.25-0.18\xA5\xEC)",    22000000},
};
// clang-format on

// Family 5 shares the family-6 rows for models 0 and 5; no model has a row
// in both groups, so one table serves.
// clang-format off
const ModelRow kCyrixModels[] = {
    // families         models            test               low   high  model name                core name                        transistors
    {bit(4),            bit(0),           Input::ClockMhz,    20,   20,  "Cx486SLC/DLC",           "M0.5",                          600000},
    {bit(4),            bit(0),           Input::ClockMhz,    66,   66,  "Cx486SLC/DLC",           "M0.5",                          600000},
    {bit(4),            bit(0),           Input::ClockMhz,    33,   33,  "Cx486S",                 "M0.6",                          600000},
    {bit(4),            bit(0),           Input::ClockMhz,    50,   50,  "Cx486S",                 "M0.6",                          600000},
    {bit(4),            bit(0),           Input::ClockMhz,    67,   kTop, "Cx486DX/DX2/DX4",       "M0.7",                          1100000},
    {bit(4),            bit(4),           Input::None,        0,    0,   "Media GX",               "Gx86",                          24000000},
    {bit(4),            bit(9),           Input::None,        0,    0,   "5x86",                   "M0.9 or M1sc (0.65\xA5\xEC)",   20000000},
    {bit(5),            bit(2),           Input::None,        0,    0,   "6x86 and 6x86L",         "M1 (0.65\xA5\xEC) and M1L (0.35\xA5\xEC)", 30000000},
    {bit(5),            bit(4),           Input::None,        0,    0,   "MediaGXm",               "GXm",                           24000000},
    {bit(5) | bit(6),   bit(0),           Input::ClockMhz,    0,    224, "6x86MX (PR166-266)",     "M2 (0.35\xA5\xEC)",             65000000},
    {bit(5) | bit(6),   bit(0),           Input::None,        0,    0,   "M-II (PR300-433)",       "M2 (0.35-0.25\xA5\xEC)",        65000000},
    {bit(5) | bit(6),   bit(5),           Input::None,        0,    0,   "VIA Cyrix III",          "",                              0},
};
// clang-format on

// clang-format off
const ModelRow kIdtModels[] = {
    // families         models            test               low   high  model name                core name                        transistors
    {bit(5),            bit(4),           Input::None,        0,    0,   "WinChip",                "C6 (0.35\xA5\xEC)",             54000000},
    {bit(5),            bit(8),           Input::None,        0,    0,   "WinChip 2x",             "W2x (0.35-0.25\xA5\xEC)",       59000000},
    {bit(5),            bit(9),           Input::None,        0,    0,   "WinChip 3",              "W3 (0.25\xA5\xEC)",             90000000},
};
// clang-format on

// clang-format off
const ModelRow kNexGenModels[] = {
    // families         models            test               low   high  model name                core name                        transistors
    {bit(5),            bit(0),           Input::None,        0,    0,   "Nx586",                  "Nx5x86 (0.50-0.44\xA5\xEC)",    35000000},
    {bit(5),            bit(6),           Input::None,        0,    0,   "Nx686",                  "HA (0.50\xA5\xEC)",             60000000},
};
// clang-format on

// Every family-4 UMC gets the core name; only models 1 to 4 name the model.
// clang-format off
const ModelRow kUmcModels[] = {
    // families         models            test               low   high  model name                core name                        transistors
    {bit(4),            bit(1),           Input::None,        0,    0,   "U5D",                    "U5D and U5S",                   12000000},
    {bit(4),            bit(2),           Input::None,        0,    0,   "U5S",                    "U5D and U5S",                   12000000},
    {bit(4),            bit(3),           Input::None,        0,    0,   "U486DX2",                "U5D and U5S",                   12000000},
    {bit(4),            bit(4),           Input::None,        0,    0,   "U486SX2",                "U5D and U5S",                   12000000},
    {bit(4),            kAll,             Input::None,        0,    0,   nullptr,                  "U5D and U5S",                   12000000},
};
// clang-format on

// clang-format off
const ModelRow kRiseModels[] = {
    // families         models            test               low   high  model name                core name                        transistors
    {bit(4),            bit(0) | bit(2),  Input::None,        0,    0,   "mP6",                    "mP6 (0.25-0.18\xA5\xEC)",       36000000},
};
// clang-format on

template <std::size_t N>
constexpr ModelTable tableOf(const ModelRow (&rows)[N])
{
    return ModelTable{rows, N};
}

uint32_t inputValue(const ModelInput& input, Input which)
{
    switch (which) {
    case Input::Type:
        return input.type;
    case Input::BrandIndex:
        return input.brandIndex;
    case Input::L2Kb:
        return input.l2Kb;
    case Input::ClockMhz:
        return input.clockMhz;
    case Input::None:
        break;
    }
    return 0;
}

bool applies(const ModelRow& row, const ModelInput& input)
{
    if (input.family > 15 || input.model > 15)
        return false;
    if ((row.families & bit(input.family)) == 0 || (row.models & bit(input.model)) == 0)
        return false;
    if (row.when == Input::None)
        return true;
    const uint32_t value = inputValue(input, row.when);
    return row.low <= value && value <= row.high;
}

}  // namespace

const ModelTable kModelTables[kVendorRows] = {
    {nullptr, 0},        tableOf(kIntelModels),  tableOf(kAmdModels), tableOf(kCyrixModels),
    tableOf(kIdtModels), tableOf(kNexGenModels), tableOf(kUmcModels), tableOf(kRiseModels),
};

const ModelRow* findModelRow(const ModelTable& table, const ModelInput& input)
{
    for (std::size_t i = 0; i < table.count; ++i) {
        if (applies(table.rows[i], input))
            return &table.rows[i];
    }
    return nullptr;
}

}  // namespace cpu
}  // namespace kel
