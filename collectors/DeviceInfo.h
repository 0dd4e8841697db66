// The walk of the device enumeration tree into 35 per-class device lists.
#pragma once

#include "collectors/DeviceClass.h"
#include "collectors/KelApi.h"
#include "collectors/OwnedList.h"

#include <string>

namespace kel {

using DeviceClassList = OwnedList<DeviceClass>;

// Positions of the lists that other collectors read.
enum DeviceClassPosition { kDisplayClassList = 3, kNetClassList = 21, kMediaClassList = 30 };
constexpr int kDeviceClassListCount = 35;

class KEL_API DeviceInfo {
public:
    DeviceInfo();
    DeviceInfo(const DeviceInfo& other);
    DeviceInfo& operator=(const DeviceInfo& other);
    ~DeviceInfo();

    void setSystemDeviceInfo(bool isNT);
    const DeviceClassList* getSystemDeviceInfo();

private:
    // The keys exactly three levels below the enumeration root are device
    // instances; depth counts the levels still to descend.
    bool getRegistryKeyList(const std::string& path, int depth);
    bool getRegistryValue(const std::string& path);
    bool getDeviceClass(const std::string& classGuid, DeviceClass* device);
    bool getDeviceDriver(const std::string& driverKey, DeviceClass* device);
    bool getDeviceService(const std::string& serviceName, DeviceClass* device, bool asLocation);

    bool isNT;
    DeviceClassList classLists[kDeviceClassListCount];
};

}  // namespace kel
