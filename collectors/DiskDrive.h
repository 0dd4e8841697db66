// One logical drive; numbers are kept as decimal text.
#pragma once

#include "collectors/KelApi.h"

#include <string>

namespace kel {

struct KEL_API DiskDrive {
    std::string rootPath;
    std::string driveTypeName;
    std::string sectorsPerCluster;
    std::string bytesPerSector;
    std::string freeClusters;
    std::string totalClusters;
    std::string callerFreeBytes;
    std::string totalBytes;
    std::string totalFreeBytes;
    std::string totalMegabytes;
    std::string freeMegabytes;
    std::string volumeLabel;
    std::string fileSystemName;
    std::string volumeSerial;
};

}  // namespace kel
