#include "platform/RegKey.h"

#include "platform/ScratchBuffer.h"

#include <cstring>

namespace kel {

long RegKey::open(RegRoot root, const char* path, uint32_t access)
{
    close();
    RegHandle opened = 0;
    long result = platform().regOpenKey(root, path, access, &opened);
    if (result == kRegSuccess)
        handle_ = opened;
    return result;
}

void RegKey::close()
{
    if (handle_ != 0) {
        platform().regCloseKey(handle_);
        handle_ = 0;
    }
}

bool RegKey::readText(const char* name, std::size_t bufferSize, std::string* text) const
{
    ScratchBuffer buffer(bufferSize);
    uint32_t type = 0;
    uint32_t size = static_cast<uint32_t>(bufferSize);
    if (platform().regQueryValue(handle_, name, &type, buffer.bytes(), &size) != kRegSuccess)
        return false;
    *text = boundedText(buffer.data(), size, bufferSize);
    return true;
}

std::string boundedText(const char* buffer, std::size_t byteCount, std::size_t bufferSize)
{
    std::size_t limit = byteCount < bufferSize ? byteCount : bufferSize;
    const void* nul = std::memchr(buffer, 0, limit);
    std::size_t length = nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - buffer) : limit;
    return std::string(buffer, length);
}

}  // namespace kel
