#include "collectors/SmbiosTable.h"

#include <cstdio>

namespace kel {

namespace {

constexpr std::size_t kRawHeaderSize = 8;        // calling method, major, minor, DMI revision, length
constexpr std::size_t kStructureHeaderSize = 4;  // type, length, handle
constexpr uint8_t kEndOfTable = 127;

struct Structure {
    const uint8_t* formatted;  // the formatted area, header included
    std::size_t length;
    const uint8_t* strings;   // the string set after it
    std::size_t stringsSize;  // up to and without its double NUL
};

// The string numbered by the byte at offset of the formatted area; empty
// for 0, for an offset outside the area, or a number past the set.
std::string structureString(const Structure& s, std::size_t offset)
{
    if (offset >= s.length || s.formatted[offset] == 0)
        return std::string();
    unsigned number = s.formatted[offset];
    std::size_t at = 0;
    for (;;) {
        std::size_t end = at;
        while (end < s.stringsSize && s.strings[end] != 0)
            ++end;
        if (end == at)
            return std::string();  // the set ended first
        if (--number == 0) {
            std::string text(reinterpret_cast<const char*>(s.strings + at), end - at);
            std::size_t last = text.find_last_not_of(' ');
            return last == std::string::npos ? std::string() : text.substr(0, last + 1);
        }
        if (end >= s.stringsSize)
            return std::string();
        at = end + 1;
    }
}

// The structure at *at, or false when it does not fit before end; *at moves
// past its string set.
bool nextStructure(const uint8_t* data, std::size_t end, std::size_t* at, Structure* s)
{
    if (end - *at < kStructureHeaderSize)
        return false;
    const std::size_t length = data[*at + 1];
    if (length < kStructureHeaderSize || length > end - *at)
        return false;
    s->formatted = data + *at;
    s->length = length;
    s->strings = data + *at + length;
    // The set ends at the first double NUL; a structure without strings has
    // two NULs straight away.
    std::size_t i = *at + length;
    while (i + 1 < end && !(data[i] == 0 && data[i + 1] == 0))
        ++i;
    if (i + 1 >= end)
        return false;
    s->stringsSize = i - (*at + length);
    *at = i + 2;
    return true;
}

void readBios(const Structure& s, SmbiosFacts* facts)
{
    facts->biosVendor = structureString(s, 0x04);
    facts->biosVersion = structureString(s, 0x05);
    facts->biosDate = structureString(s, 0x08);
}

void readSystem(const Structure& s, bool littleEndianUuid, SmbiosFacts* facts)
{
    facts->manufacturer = structureString(s, 0x04);
    facts->product = structureString(s, 0x05);
    facts->serialNumber = structureString(s, 0x07);
    constexpr std::size_t kUuidOffset = 0x08, kUuidSize = 16;
    if (s.length >= kUuidOffset + kUuidSize)
        facts->uuid = smbiosUuid(s.formatted + kUuidOffset, littleEndianUuid);
}

}  // namespace

bool parseSmbiosTable(const uint8_t* table, std::size_t size, SmbiosFacts* facts)
{
    if (!table || size < kRawHeaderSize)
        return false;
    const unsigned major = table[1], minor = table[2];
    const uint32_t length = static_cast<uint32_t>(table[4]) | static_cast<uint32_t>(table[5]) << 8 |
                            static_cast<uint32_t>(table[6]) << 16 | static_cast<uint32_t>(table[7]) << 24;
    // A length past the bytes returned is cut to them.
    const std::size_t end =
        kRawHeaderSize + (length < size - kRawHeaderSize ? length : size - kRawHeaderSize);
    const bool littleEndianUuid = major > 2 || (major == 2 && minor >= 6);
    bool haveBios = false, haveSystem = false;
    Structure s{};
    for (std::size_t at = kRawHeaderSize; !(haveBios && haveSystem) && nextStructure(table, end, &at, &s);) {
        const uint8_t type = s.formatted[0];
        if (type == 0 && !haveBios) {
            readBios(s, facts);
            haveBios = true;
        } else if (type == 1 && !haveSystem) {
            readSystem(s, littleEndianUuid, facts);
            haveSystem = true;
        } else if (type == kEndOfTable) {
            break;
        }
    }
    return true;
}

std::string smbiosUuid(const uint8_t* bytes, bool littleEndianFields)
{
    bool allZero = true, allOnes = true;
    for (int i = 0; i < 16; ++i) {
        allZero = allZero && bytes[i] == 0x00;
        allOnes = allOnes && bytes[i] == 0xFF;
    }
    if (allZero || allOnes)
        return std::string();
    static const int kLittleEndianOrder[16] = {3, 2, 1, 0, 5, 4, 7, 6, 8, 9, 10, 11, 12, 13, 14, 15};
    std::string text;
    char hex[3];
    for (int i = 0; i < 16; ++i) {
        if (i == 4 || i == 6 || i == 8 || i == 10)
            text += '-';
        std::snprintf(hex, sizeof hex, "%02X", bytes[littleEndianFields ? kLittleEndianOrder[i] : i]);
        text += hex;
    }
    return text;
}

}  // namespace kel
