// The network adapters, picked from the device walk's "Net" list.
#pragma once

#include "collectors/DeviceInfo.h"
#include "collectors/KelApi.h"
#include "collectors/OwnedList.h"

#include <string>

namespace kel {

class KEL_API NetworkInfo {
public:
    NetworkInfo();
    NetworkInfo(const NetworkInfo& other);
    NetworkInfo& operator=(const NetworkInfo& other);
    ~NetworkInfo();

    void setNetworkInfo(bool isNT, const DeviceClassList* classLists);
    int getNicListCount();
    int getNicDescription(int index, char* buffer, int size);
    int getNetworkInfo(char* buffer, int size);

private:
    bool isNT;
    OwnedList<std::string> nicNames;
};

}  // namespace kel
