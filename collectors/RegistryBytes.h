// Raw registry data for the values that are not text: the bytes the platform
// returned, and never one more.
#pragma once

#include "platform/Platform.h"
#include "platform/RegKey.h"

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
    std::vector<uint8_t> buffer(bufferSize, 0);
    uint32_t type = 0;
    uint32_t size = static_cast<uint32_t>(bufferSize);
    if (platform().regQueryValue(key.handle(), name, &type, buffer.data(), &size) != kRegSuccess)
        return false;
    buffer.resize(size < bufferSize ? size : bufferSize);
    bytes->swap(buffer);
    return true;
}

// The first four bytes as the platform stores a 32-bit number.
inline uint32_t littleEndian32(const std::vector<uint8_t>& bytes)
{
    return static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
           static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}

}  // namespace kel
