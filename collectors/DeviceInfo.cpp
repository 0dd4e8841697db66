#include "collectors/DeviceInfo.h"

namespace kel {

DeviceInfo::DeviceInfo() : isNT(false) {}

DeviceInfo::DeviceInfo(const DeviceInfo& other) = default;

DeviceInfo& DeviceInfo::operator=(const DeviceInfo& other) = default;

DeviceInfo::~DeviceInfo()
{
    // Lists are freed from position 0 upward, each last record first.
    for (DeviceClassList& list : classLists)
        list.clear();
}

// Not built yet: the walk arrives with the device inventory.
void DeviceInfo::setSystemDeviceInfo(bool nt)
{
    isNT = nt;
}

const DeviceClassList* DeviceInfo::getSystemDeviceInfo()
{
    return classLists;
}

}  // namespace kel
