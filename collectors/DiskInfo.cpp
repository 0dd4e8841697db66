#include "collectors/DiskInfo.h"

#include "collectors/TextOut.h"

namespace kel {

namespace {

std::string driveText(const DiskDrive& drive)
{
    std::string text = drive.rootPath + "(" + drive.driveTypeName;
    if (!drive.totalMegabytes.empty())
        text += ", " + drive.fileSystemName + ", " + drive.totalMegabytes + "MB/" +
                drive.freeMegabytes + "MB";
    return text + ")";
}

}  // namespace

DiskInfo::DiskInfo() = default;
DiskInfo::DiskInfo(const DiskInfo& other) = default;
DiskInfo& DiskInfo::operator=(const DiskInfo& other) = default;
DiskInfo::~DiskInfo() = default;

// Not built yet: the drives arrive with their own change.
void DiskInfo::setDiskInfo() {}

int DiskInfo::getDiskListCount()
{
    return static_cast<int>(drives.size());
}

int DiskInfo::getDiskDescription(int index, char* buffer, int size)
{
    return describeEntry(drives, index, buffer, size, driveText);
}

int DiskInfo::getDiskInfo(char* buffer, int size)
{
    return describeAll(drives, buffer, size, driveText);
}

}  // namespace kel
