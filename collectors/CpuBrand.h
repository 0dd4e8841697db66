// Naming a processor the model tables do not know by its own brand string.
// Nothing here touches the processor, so tests feed it any registers.
#pragma once

#include "platform/Platform.h"

#include <cstdint>
#include <string>

namespace kel {
namespace cpu {

constexpr uint32_t kExtendedLeaves = 0x80000000;
constexpr uint32_t kLastBrandLeaf = 0x80000004;

// A signature (leaf 1's EAX) with an extended family or model lies beyond
// the tables, whose catch-all rows would name a processor it cannot be.
bool beyondModelTables(uint32_t signature);

// The 48 bytes of leaves 0x80000002 to 0x80000004, each register low byte
// first, up to the first NUL.
std::string brandStringOf(const CpuidRegs (&leaves)[3]);

// The brand string as a model name: the rated clock, the trademark signs,
// filler words and the vendor's own name taken out, words joined by single
// blanks; for a processor with Radeon graphics, the "with ..." tail too.
std::string modelNameFromBrand(const std::string& brand, const std::string& vendorShortName);

}  // namespace cpu
}  // namespace kel
