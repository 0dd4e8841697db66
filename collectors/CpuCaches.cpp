#include "collectors/CpuCaches.h"

#include <string>

namespace kel {
namespace cpu {

namespace {

// clang-format off
const DescriptorRow kDescriptors[] = {
    // byte  cache                  KB
    {0x06,   CacheField::L1Code,    8},
    {0x08,   CacheField::L1Code,    16},
    {0x0A,   CacheField::L1Data,    8},
    {0x0C,   CacheField::L1Data,    16},
    {0x40,   CacheField::L2,        0},
    {0x41,   CacheField::L2,        128},
    {0x42,   CacheField::L2,        256},
    {0x43,   CacheField::L2,        512},
    {0x44,   CacheField::L2,        1024},
    {0x45,   CacheField::L2,        2048},
    {0x80,   CacheField::L1Unified, 16},
    {0x82,   CacheField::L2,        256},
    {0x83,   CacheField::L2,        512},
    {0x84,   CacheField::L2,        1024},
    {0x85,   CacheField::L2,        2048},
};
// clang-format on

void putBytes(uint32_t reg, char* out)
{
    for (int i = 0; i < 4; ++i)
        out[i] = static_cast<char>((reg >> (8 * i)) & 0xFF);
}

}  // namespace

const DescriptorRow* findDescriptor(uint8_t descriptor)
{
    for (const DescriptorRow& row : kDescriptors) {
        if (row.descriptor == descriptor)
            return &row;
    }
    return nullptr;
}

void descriptorBytes(const CpuidRegs& regs, uint8_t bytes[16])
{
    const uint32_t words[4] = {regs.eax, regs.ebx, regs.ecx, regs.edx};
    for (int i = 0; i < 16; ++i)
        bytes[i] = static_cast<uint8_t>((words[i / 4] >> (8 * (i % 4))) & 0xFF);
}

std::string vendorIdOf(const CpuidRegs& leaf0)
{
    char text[13] = {};
    putBytes(leaf0.ebx, text);
    putBytes(leaf0.edx, text + 4);
    putBytes(leaf0.ecx, text + 8);
    return std::string(text);
}

bool anyByteIs(uint32_t reg, uint8_t value)
{
    for (int i = 0; i < 4; ++i) {
        if (((reg >> (8 * i)) & 0xFF) == value)
            return true;
    }
    return false;
}

}  // namespace cpu
}  // namespace kel
