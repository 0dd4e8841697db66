// The logical drives with their type and, for fixed drives, space and volume.
#pragma once

#include "collectors/DiskDrive.h"
#include "collectors/KelApi.h"
#include "collectors/OwnedList.h"

namespace kel {

class KEL_API DiskInfo {
public:
    DiskInfo();
    DiskInfo(const DiskInfo& other);
    DiskInfo& operator=(const DiskInfo& other);
    ~DiskInfo();

    void setDiskInfo();
    int getDiskListCount();
    int getDiskDescription(int index, char* buffer, int size);
    int getDiskInfo(char* buffer, int size);

private:
    // Lets tests see what was gathered but never reported.
    friend struct DiskInfoPeer;

    OwnedList<DiskDrive> drives;
};

}  // namespace kel
