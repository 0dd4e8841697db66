// The firmware's SMBIOS structures of types 0 (BIOS) and 1 (system), read
// from the raw table GetSystemFirmwareTable('RSMB') returns. The table is
// input: every length is checked against its end, and a structure that runs
// past it ends the walk.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace kel {

struct SmbiosFacts {
    std::string biosVendor;
    std::string biosVersion;
    std::string biosDate;  // as the firmware writes it, MM/DD/YYYY
    std::string manufacturer;
    std::string product;
    std::string serialNumber;
    std::string uuid;  // as Windows shows it; empty when the firmware sets none
};

// Reads the raw table (its 8-byte header, then the structures); false when
// the header itself does not fit. Strings the structures lack stay empty.
bool parseSmbiosTable(const uint8_t* table, std::size_t size, SmbiosFacts* facts);

// The 16 bytes of a system UUID as Windows prints it: upper case with
// dashes, the first three fields little-endian from SMBIOS 2.6 on; empty for
// all zeros or all ones (not set, not present).
std::string smbiosUuid(const uint8_t* bytes, bool littleEndianFields);

}  // namespace kel
