// The display adapters, picked from the device walk's "Display" list.
#pragma once

#include "collectors/DeviceInfo.h"
#include "collectors/DisplayDevice.h"
#include "collectors/KelApi.h"
#include "collectors/OwnedList.h"

namespace kel {

class KEL_API DisplayInfo {
public:
    DisplayInfo();
    DisplayInfo(const DisplayInfo& other);
    DisplayInfo& operator=(const DisplayInfo& other);
    ~DisplayInfo();

    void setDisplayInfo(bool isNT, const DeviceClassList* classLists);
    int getVgaListCount();
    int getVgaDescription(int index, char* buffer, int size);
    int getVgaMemorySize(int index);
    int getDisplayInfo(char* buffer, int size);

private:
    bool isNT;
    OwnedList<DisplayDevice> displayDevices;
};

}  // namespace kel
