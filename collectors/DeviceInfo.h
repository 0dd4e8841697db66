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
    bool isNT;
    DeviceClassList classLists[kDeviceClassListCount];
};

}  // namespace kel
