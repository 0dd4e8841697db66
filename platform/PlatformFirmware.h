// The firmware area of the platform seam: GetSystemFirmwareTable of kernel32,
// looked up at run time (Windows Vista, XP x64 and later).
#pragma once

#include <cstdint>

namespace kel {

// The provider of the raw SMBIOS table, 'RSMB' as the platform spells it.
constexpr uint32_t kFirmwareRawSmbios = 0x52534D42;

class PlatformFirmware {
public:
    virtual ~PlatformFirmware() = default;

    // As GetSystemFirmwareTable: the bytes written; the size needed when
    // the buffer is too small (or null), leaving it alone; 0 on failure,
    // including a kernel32 that lacks the function.
    virtual uint32_t getSystemFirmwareTable(uint32_t provider, uint32_t tableId, uint8_t* buffer,
                                            uint32_t size) = 0;
};

}  // namespace kel
