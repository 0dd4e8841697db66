#include "collectors/DevicePresence.h"

#include "platform/Platform.h"

#include <cstring>

namespace kel {

std::string instanceIdOf(const DeviceClass& device)
{
    const std::size_t rootLength = std::strlen(kNtEnumRoot);
    const std::string& path = device.keyPath;
    if (path.compare(0, rootLength, kNtEnumRoot) == 0 && path.size() > rootLength && path[rootLength] == '\\')
        return path.substr(rootLength + 1);
    return path;
}

bool noLongerAttached(const DeviceClass& device)
{
    return platform().locateDevNode(instanceIdOf(device).c_str()) == kCrNoSuchDevnode;
}

bool isAttachedBusAdapter(const DeviceClass& device, bool isNT)
{
    return isBusAdapter(device, isNT) && !(isNT && noLongerAttached(device));
}

}  // namespace kel
