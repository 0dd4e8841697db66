#include "collectors/IdentityInfo.h"

#include "platform/RegKey.h"

#include <vector>

namespace kel {

namespace {

// Longer names than a query's own limit are asked for once more with the
// size it names, up to this bound.
constexpr uint32_t kLongestName = 32767;

using NameQuery = bool (PlatformIdentity::*)(char* name, uint32_t* size);

std::string readName(NameQuery query, uint32_t length)
{
    for (int round = 0; round < 2; ++round) {
        std::vector<char> buffer(length + 1, '\0');
        uint32_t size = length + 1;
        PlatformIdentity& identity = platform();
        if ((identity.*query)(buffer.data(), &size))
            return boundedText(buffer.data(), buffer.size(), buffer.size());
        if (size <= length + 1 || size > kLongestName)
            break;
        length = size;
    }
    return std::string();
}

}  // namespace

void IdentityInfo::setIdentityInfo()
{
    computerName_ = readName(&PlatformIdentity::getComputerName, kComputerNameLength);
    userName_ = readName(&PlatformIdentity::getUserName, kUserNameLength);
    std::string joined;
    JoinStatus status = JoinStatus::Unknown;
    if (platform().getJoinInformation(&joined, &status)) {
        joinName_ = joined;
        joinStatus_ = status;
    }
}

}  // namespace kel
