#include "collectors/DisplayInfo.h"

#include "collectors/TextOut.h"

#include <climits>
#include <cstdlib>

namespace kel {

namespace {

const std::string& nameOf(const DisplayDevice& device)
{
    return device.adapterName;
}

std::string nameWithMemory(const DisplayDevice& device)
{
    if (device.memorySize.empty())
        return device.adapterName;
    return device.adapterName + "(" + device.memorySize + "M)";
}

}  // namespace

DisplayInfo::DisplayInfo() : isNT(false) {}
DisplayInfo::DisplayInfo(const DisplayInfo& other) = default;
DisplayInfo& DisplayInfo::operator=(const DisplayInfo& other) = default;
DisplayInfo::~DisplayInfo() = default;

// Not built yet: the adapters arrive with the device inventory.
void DisplayInfo::setDisplayInfo(bool nt, const DeviceClassList*)
{
    isNT = nt;
}

int DisplayInfo::getVgaListCount()
{
    return static_cast<int>(displayDevices.size());
}

int DisplayInfo::getVgaDescription(int index, char* buffer, int size)
{
    return describeEntry(displayDevices, index, buffer, size, nameOf);
}

int DisplayInfo::getVgaMemorySize(int index)
{
    if (index < 0 || static_cast<std::size_t>(index) >= displayDevices.size())
        return -1;
    // The leading decimal number, whatever unit the stored text has; a figure
    // beyond the int range is held at its limit rather than overflowing.
    const long number =
        std::strtol(displayDevices[static_cast<std::size_t>(index)].memorySize.c_str(), nullptr, 10);
    if (number > INT_MAX)
        return INT_MAX;
    if (number < INT_MIN)
        return INT_MIN;
    return static_cast<int>(number);
}

int DisplayInfo::getDisplayInfo(char* buffer, int size)
{
    return describeAll(displayDevices, buffer, size, nameWithMemory);
}

}  // namespace kel
