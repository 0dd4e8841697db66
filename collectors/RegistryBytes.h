// Raw registry data for the values that are not text: the bytes the platform
// returned, and never one more.
#pragma once

#include "platform/Platform.h"
#include "platform/RegKey.h"
#include "platform/ScratchBuffer.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace kel {

// Reads a value into a buffer of bufferSize bytes; on success *bytes holds
// exactly the bytes returned. False (bytes untouched) when the query fails,
// including data longer than the buffer.
inline bool readValueBytes(const RegKey& key, const char* name, std::size_t bufferSize,
                           std::vector<uint8_t>* bytes)
{
    ScratchBuffer buffer(bufferSize);
    uint32_t type = 0;
    uint32_t size = static_cast<uint32_t>(bufferSize);
    if (platform().regQueryValue(key.handle(), name, &type, buffer.bytes(), &size) != kRegSuccess)
        return false;
    bytes->assign(buffer.bytes(), buffer.bytes() + (size < bufferSize ? size : bufferSize));
    return true;
}

// The first four bytes as the platform stores a 32-bit number.
inline uint32_t littleEndian32(const uint8_t* bytes)
{
    return static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
           static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}

// Reads a 32-bit number from a 4-byte buffer. False (number untouched) when
// the query fails or returns fewer than four bytes: those count as absent
// rather than being padded with bytes the platform never wrote.
inline bool readNumber(const RegKey& key, const char* name, uint32_t* number)
{
    uint8_t bytes[4] = {};
    uint32_t type = 0;
    uint32_t size = sizeof bytes;
    if (platform().regQueryValue(key.handle(), name, &type, bytes, &size) != kRegSuccess ||
        size != sizeof bytes)
        return false;
    *number = littleEndian32(bytes);
    return true;
}

}  // namespace kel
