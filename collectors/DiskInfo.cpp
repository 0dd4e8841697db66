#include "collectors/DiskInfo.h"

#include "collectors/TextOut.h"
#include "platform/Platform.h"
#include "platform/RegKey.h"

#include <cctype>
#include <cinttypes>
#include <cstdio>
#include <iterator>
#include <memory>

namespace kel {

namespace {

// Each root in the drive list is three characters and a NUL, such as C:\.
constexpr uint32_t kRootStep = 4;

const char* const kDriveTypeNames[] = {
    "UNKNOWN", "ROOT NOT EXIST", "REMOVABLE", "FIXED", "NETWORK DRIVE", "CD-ROM", "RAM DISK",
};

std::string driveTypeName(uint32_t code)
{
    return code < std::size(kDriveTypeNames) ? kDriveTypeNames[code] : "";
}

std::string signedText(uint32_t number)
{
    char text[16];
    std::snprintf(text, sizeof text, "%d", static_cast<int>(number));
    return text;
}

std::string unsignedText(uint64_t number)
{
    char text[32];
    std::snprintf(text, sizeof text, "%" PRIu64, number);
    return text;
}

std::string upperHex(uint32_t number)
{
    char text[16];
    std::snprintf(text, sizeof text, "%x", number);
    for (char* c = text; *c; ++c)
        *c = static_cast<char>(std::toupper(static_cast<unsigned char>(*c)));
    return text;
}

// A drive that is not fixed gets zero cluster figures and nothing else.
void setClusterFigures(DiskDrive& drive, const DiskSpace& space)
{
    drive.sectorsPerCluster = signedText(space.sectorsPerCluster);
    drive.bytesPerSector = signedText(space.bytesPerSector);
    drive.freeClusters = signedText(space.freeClusters);
    drive.totalClusters = signedText(space.totalClusters);
}

// When the query fails the figures stay zero, so that the drive text still
// carries its space part.
void setExtendedSpace(DiskDrive& drive)
{
    DiskSpaceEx space;
    if (!platform().getDiskFreeSpaceEx(drive.rootPath.c_str(), &space))
        space = DiskSpaceEx();
    drive.callerFreeBytes = unsignedText(space.callerFreeBytes);
    drive.totalBytes = unsignedText(space.totalBytes);
    drive.totalFreeBytes = unsignedText(space.totalFreeBytes);
    drive.totalMegabytes = unsignedText(space.totalBytes >> 20);
    drive.freeMegabytes = unsignedText(space.totalFreeBytes >> 20);
}

// The older query's products wrap at 32 bits, as that platform computes them.
void setClusterSpace(DiskDrive& drive)
{
    DiskSpace space;
    if (!platform().getDiskFreeSpace(drive.rootPath.c_str(), &space))
        space = DiskSpace();
    setClusterFigures(drive, space);
    const uint32_t clusterBytes = space.sectorsPerCluster * space.bytesPerSector;
    const uint32_t total = clusterBytes * space.totalClusters;
    const uint32_t free = clusterBytes * space.freeClusters;
    drive.totalMegabytes = unsignedText(total >> 20);
    drive.freeMegabytes = unsignedText(free >> 20);
}

// When the query fails, label, file system and serial stay empty.
void setVolume(DiskDrive& drive)
{
    char volumeName[kMaxPath] = {};
    char fileSystem[kMaxPath] = {};
    uint32_t serial = 0;
    if (!platform().getVolumeInformation(drive.rootPath.c_str(), volumeName, sizeof volumeName, &serial,
                                         fileSystem, sizeof fileSystem))
        return;
    drive.volumeLabel = boundedText(volumeName, sizeof volumeName, sizeof volumeName);
    drive.fileSystemName = boundedText(fileSystem, sizeof fileSystem, sizeof fileSystem);
    drive.volumeSerial = upperHex(serial);
}

std::unique_ptr<DiskDrive> readDrive(std::string root)
{
    auto drive = std::make_unique<DiskDrive>();
    drive->rootPath = std::move(root);
    drive->driveTypeName = driveTypeName(platform().getDriveType(drive->rootPath.c_str()));
    if (drive->driveTypeName != "FIXED") {
        setClusterFigures(*drive, DiskSpace());
        return drive;
    }
    if (platform().hasDiskFreeSpaceEx())
        setExtendedSpace(*drive);
    else
        setClusterSpace(*drive);
    setVolume(*drive);
    return drive;
}

std::string driveText(const DiskDrive& drive)
{
    std::string text = drive.rootPath + "(" + drive.driveTypeName;
    if (!drive.totalMegabytes.empty())
        text +=
            ", " + drive.fileSystemName + ", " + drive.totalMegabytes + "MB/" + drive.freeMegabytes + "MB";
    return text + ")";
}

}  // namespace

DiskInfo::DiskInfo() = default;
DiskInfo::DiskInfo(const DiskInfo& other) = default;
DiskInfo& DiskInfo::operator=(const DiskInfo& other) = default;
DiskInfo::~DiskInfo() = default;

void DiskInfo::setDiskInfo()
{
    char list[kMaxPath] = {};
    const uint32_t length = platform().getLogicalDriveStrings(sizeof list, list);
    // A length the buffer cannot hold means the platform wrote no list.
    if (length == 0 || length >= sizeof list)
        return;
    for (uint32_t offset = 0; offset < length; offset += kRootStep) {
        const uint32_t rest = length - offset;
        drives.append(
            readDrive(boundedText(list + offset, rest < kRootStep ? rest : kRootStep, sizeof list - offset)));
    }
}

int DiskInfo::getDiskListCount() { return static_cast<int>(drives.size()); }

int DiskInfo::getDiskDescription(int index, char* buffer, int size)
{
    return describeEntry(drives, index, buffer, size, driveText);
}

int DiskInfo::getDiskInfo(char* buffer, int size) { return describeAll(drives, buffer, size, driveText); }

}  // namespace kel
