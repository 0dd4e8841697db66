// The device presence area of the platform seam: the configuration
// manager's (cfgmgr32) answer whether a device instance the registry still
// holds is attached to the machine.
#pragma once

#include <cstdint>

namespace kel {

// Configuration manager result codes.
enum ConfigResult : uint32_t {
    kCrSuccess = 0x00,
    kCrNoSuchDevnode = 0x0D,
    kCrCallNotImplemented = 0x34,
};

// The longest device instance identifier, with its NUL (MAX_DEVICE_ID_LEN).
constexpr uint32_t kMaxDeviceIdLength = 200;

class PlatformDevices {
public:
    virtual ~PlatformDevices() = default;

    // CM_Locate_DevNodeA(&node, instanceId, CM_LOCATE_DEVNODE_NORMAL), from
    // cfgmgr32 looked up at run time: kCrNoSuchDevnode for an instance that
    // is not attached; kCrCallNotImplemented when the system lacks the
    // function.
    virtual uint32_t locateDevNode(const char* instanceId) = 0;
};

}  // namespace kel
