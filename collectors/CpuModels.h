// What the processor collector knows about vendors and models, as data: the
// vendor tables and one model table per vendor, with the routines that look
// them up. Nothing here touches the processor, so tests feed it any values.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace kel {
namespace cpu {

// Vendor codes: the rows of the vendor tables.
enum VendorCode : uint32_t {
    kVendorUnknown = 0,
    kVendorIntel = 1,
    kVendorAmd = 2,
    kVendorCyrix = 3,
    kVendorIdt = 4,
    kVendorNexGen = 5,
    kVendorUmc = 6,
    kVendorRise = 7,
};
constexpr std::size_t kVendorRows = kVendorRise + 1;

struct VendorRow {
    const char* id;      // what the identification instruction reports
    const char* alsoId;  // a second form the same vendor reports, or null
    const char* fullName;
    const char* shortName;
};

// Row 0 is never matched; it only names the unknown vendor.
extern const VendorRow kVendors[kVendorRows];

// The row one of whose identification strings equals vendorId exactly
// (length and bytes, case counting), or 0 when none does.
uint32_t vendorCodeOf(const std::string& vendorId);

// The inputs a model table's conditions may test.
enum class Input : uint8_t { None, Type, BrandIndex, L2Kb, ClockMhz };

struct ModelInput {
    uint32_t family = 0;
    uint32_t model = 0;
    uint32_t type = 0;
    uint32_t brandIndex = 0;
    uint32_t l2Kb = 0;
    uint32_t clockMhz = 0;
};

// One row of a model table. It applies when the family's bit is set in
// families, the model's bit in models, and the tested input lies within
// [low, high]. A null model name leaves the model name as it was.
struct ModelRow {
    uint16_t families;
    uint16_t models;
    Input when;
    uint32_t low;
    uint32_t high;
    const char* modelName;
    const char* coreName;
    uint32_t transistors;
};

struct ModelTable {
    const ModelRow* rows;
    std::size_t count;
};

// The model table of each vendor code; row 0, the unknown vendor, has none.
extern const ModelTable kModelTables[kVendorRows];

// The first row of the table that applies to the input, or null.
const ModelRow* findModelRow(const ModelTable& table, const ModelInput& input);

}  // namespace cpu
}  // namespace kel
