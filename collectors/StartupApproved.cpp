#include "collectors/StartupApproved.h"

#include <cstdint>

namespace kel {

namespace {

const char kStatesPath[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\";
// Windows writes 02 or 06 for enabled and 03 or 07 for disabled, then a time
// stamp; the value is read whatever its type.
constexpr std::size_t kStateSize = 260;
constexpr uint8_t kDisabledBit = 0x01;

}  // namespace

StartupApproved::StartupApproved(RegRoot root, const char* kind)
{
    uint32_t access = kKeyQueryValue;
    if (root == RegRoot::LocalMachine && platform().isWindows64())
        access |= kKeyWow64_64Key;
    key_.open(root, std::string(kStatesPath) + kind, access);
}

bool StartupApproved::disabled(const std::string& name) const
{
    if (!key_.isOpen())
        return false;
    uint8_t state[kStateSize] = {};
    uint32_t size = sizeof state;
    uint32_t type = 0;
    if (platform().regQueryValue(key_.handle(), name.c_str(), &type, state, &size) != kRegSuccess)
        return false;
    return size >= 1 && size <= sizeof state && (state[0] & kDisabledBit) != 0;
}

}  // namespace kel
