// Decoding of the cache descriptions the identification instruction reports,
// apart from running it.
#pragma once

#include "platform/Platform.h"

#include <cstdint>
#include <string>

namespace kel {
namespace cpu {

enum class CacheField : uint8_t { L2, L1Data, L1Code, L1Unified };

// One byte of an Intel leaf-2 result that tells a cache size.
struct DescriptorRow {
    uint8_t descriptor;
    CacheField field;
    uint32_t kb;
};

// The row of a descriptor byte, or null for a byte that tells nothing here.
const DescriptorRow* findDescriptor(uint8_t descriptor);

// The sixteen bytes of a leaf-2 result: EAX, EBX, ECX, EDX, each low byte first.
void descriptorBytes(const CpuidRegs& regs, uint8_t bytes[16]);

// The twelve bytes of leaf 0's EBX, EDX and ECX, each low byte first, as a
// NUL-terminated string (a NUL among them ends it early).
std::string vendorIdOf(const CpuidRegs& leaf0);

// Whether any of the four bytes of a register is the given value.
bool anyByteIs(uint32_t reg, uint8_t value);

}  // namespace cpu
}  // namespace kel
