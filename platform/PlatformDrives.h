// The drives area of the platform seam: the drive list, drive types, free
// space and volume queries of kernel32.
#pragma once

#include <cstdint>

namespace kel {

// Drive-type codes of the platform.
enum DriveType : uint32_t {
    kDriveUnknown = 0,
    kDriveNoRootDir = 1,
    kDriveRemovable = 2,
    kDriveFixed = 3,
    kDriveRemote = 4,
    kDriveCdrom = 5,
    kDriveRamdisk = 6,
};

struct DiskSpaceEx {
    uint64_t callerFreeBytes = 0;
    uint64_t totalBytes = 0;
    uint64_t totalFreeBytes = 0;
};

struct DiskSpace {
    uint32_t sectorsPerCluster = 0;
    uint32_t bytesPerSector = 0;
    uint32_t freeClusters = 0;
    uint32_t totalClusters = 0;
};

class PlatformDrives {
public:
    virtual ~PlatformDrives() = default;

    virtual uint32_t getLogicalDriveStrings(uint32_t bufferLength, char* buffer) = 0;
    virtual uint32_t getDriveType(const char* root) = 0;
    // Looks up, afresh on every call, whether the system library offers
    // the extended free-space query.
    virtual bool hasDiskFreeSpaceEx() = 0;
    virtual bool getDiskFreeSpaceEx(const char* root, DiskSpaceEx* space) = 0;
    virtual bool getDiskFreeSpace(const char* root, DiskSpace* space) = 0;
    virtual bool getVolumeInformation(const char* root, char* volumeName, uint32_t volumeNameSize,
                                      uint32_t* serial, char* fileSystem, uint32_t fileSystemSize) = 0;
};

}  // namespace kel
