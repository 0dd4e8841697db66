// The print spooler area of the platform seam: EnumPrintersA with no server
// name (winspool).
#pragma once

#include <cstdint>

namespace kel {

// A level-1 printer record laid out as the spooler lays it out: the text
// pointers point into the same buffer.
struct PrinterInfo1 {
    uint32_t flags;
    char* description;
    char* name;
    char* comment;
};
constexpr uint32_t kPrinterEnumLocal = 2;
constexpr uint32_t kPrinterEnumConnections = 4;
constexpr uint32_t kPrinterEnumIcon8 = 0x00800000;  // the flags of a printer record

class PlatformSpooler {
public:
    virtual ~PlatformSpooler() = default;

    virtual bool enumPrinters(uint32_t flags, uint32_t level, uint8_t* buffer, uint32_t bufferSize,
                              uint32_t* needed, uint32_t* returned) = 0;
};

}  // namespace kel
