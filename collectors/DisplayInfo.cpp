#include "collectors/DisplayInfo.h"

#include "collectors/DevicePresence.h"
#include "collectors/RegistryBytes.h"
#include "collectors/TextOut.h"
#include "platform/Platform.h"
#include "platform/RegKey.h"

#include <climits>
#include <cstdlib>
#include <iterator>
#include <memory>
#include <vector>

namespace kel {

namespace {

constexpr std::size_t kHardwareInfoSize = 255;
constexpr std::size_t kValueSize = 260;
// The first string of the BIOS version and at most four that follow it.
constexpr int kBiosVersionStrings = 5;

const std::string& nameOf(const DisplayDevice& device) { return device.adapterName; }

std::string nameWithMemory(const DisplayDevice& device)
{
    if (device.memorySize.empty())
        return device.adapterName;
    return device.adapterName + "(" + device.memorySize + "M)";
}

// The names of the screen technology codes 0 to 6.
const char* const kTechnologyNames[] = {
    "Vector Plotter",   "Raster Display", "Raster Printer", "Raster Camera",
    "Character Stream", "Metafile",       "Display File",
};

std::string technologyName(int technology)
{
    const int known = static_cast<int>(std::size(kTechnologyNames));
    return technology >= 0 && technology < known ? kTechnologyNames[technology] : "";
}

}  // namespace

std::string textFromUtf16(const std::vector<uint8_t>& bytes)
{
    std::string text;
    for (std::size_t offset = 0; offset + 1 < bytes.size(); offset += 2) {
        const unsigned unit = bytes[offset] | bytes[offset + 1] << 8;
        if (unit == 0)
            continue;
        text += unit <= 255 ? static_cast<char>(unit) : '?';
    }
    return text;
}

std::string joinedBiosVersion(const std::vector<uint8_t>& bytes)
{
    std::string text;
    std::size_t offset = 0;
    for (int strings = 0; strings < kBiosVersionStrings && offset < bytes.size(); ++strings) {
        std::size_t end = offset;
        while (end < bytes.size() && bytes[end] != 0)
            ++end;
        if (end == offset)
            break;
        if (strings > 0)
            text += ' ';
        text.append(reinterpret_cast<const char*>(bytes.data()) + offset, end - offset);
        offset = end + 1;
    }
    return text;
}

DisplayInfo::DisplayInfo() : isNT(false) {}
DisplayInfo::DisplayInfo(const DisplayInfo& other) = default;
DisplayInfo& DisplayInfo::operator=(const DisplayInfo& other) = default;
DisplayInfo::~DisplayInfo() = default;

void DisplayInfo::setDisplayInfo(bool nt, const DeviceClassList* classLists)
{
    isNT = nt;
    classLists[kDisplayClassList].forEach([this](const DeviceClass& device) { getDisplayDevList(&device); });
}

void DisplayInfo::getDisplayDevList(const DeviceClass* device)
{
    if (!isAttachedBusAdapter(*device, isNT))
        return;
    auto display = std::make_unique<DisplayDevice>();
    display->adapterName = shownName(*device);
    if (isNT) {
        getWinNTDisplayInfo(device->service, display.get());
        // WDDM drivers (Vista and later) record their memory in the driver
        // key instead.
        if (display->memorySize.empty())
            getDriverKeyMemorySize(device->driver, display.get());
    } else
        getWin9xDisplayInfo(device->driver, display.get());
    getVideoBIOSInfo(display.get());

    // The screen as a whole: every adapter of one run gets the same figures.
    const ScreenCaps caps = platform().getScreenCaps();
    display->logPixelsY = caps.logPixelsY;
    display->horzRes = caps.horzRes;
    display->vertRes = caps.vertRes;
    display->bitsPerPixel = caps.bitsPixel;
    display->technology = technologyName(caps.technology);
    display->horzSize = caps.horzSize;
    display->vertSize = caps.vertSize;
    display->aspectX = caps.aspectX;
    display->aspectY = caps.aspectY;
    display->aspectXY = caps.aspectXY;

    displayDevices.append(std::move(display));
}

void DisplayInfo::getWinNTDisplayInfo(std::string serviceName, DisplayDevice* display)
{
    RegKey key;
    if (key.open(RegRoot::LocalMachine, "SYSTEM\\CurrentControlSet\\Services\\" + serviceName + "\\Device0",
                 kKeyQueryValue) != kRegSuccess)
        return;
    std::vector<uint8_t> bytes;
    if (readValueBytes(key, "HardwareInformation.DacType", kHardwareInfoSize, &bytes))
        display->dacType = textFromUtf16(bytes);
    if (readValueBytes(key, "HardwareInformation.ChipType", kHardwareInfoSize, &bytes))
        display->chipType = textFromUtf16(bytes);
    // A byte count: unsigned, so that 2 GB and more stay positive; fewer than
    // four bytes is no count at all.
    if (readValueBytes(key, "HardwareInformation.MemorySize", kHardwareInfoSize, &bytes) && bytes.size() >= 4)
        display->memorySize = std::to_string(littleEndian32(bytes.data()) / 1024 / 1024);
}

// Only the memory figure is taken from here: a 64-bit count when the driver
// writes one, else the 32-bit one.
void DisplayInfo::getDriverKeyMemorySize(std::string driverKey, DisplayDevice* display)
{
    RegKey key;
    if (key.open(RegRoot::LocalMachine, "SYSTEM\\CurrentControlSet\\Control\\Class\\" + driverKey,
                 kKeyQueryValue) != kRegSuccess)
        return;
    std::vector<uint8_t> bytes;
    uint64_t count = 0;
    if (readValueBytes(key, "HardwareInformation.qwMemorySize", kHardwareInfoSize, &bytes) &&
        bytes.size() >= 8)
        count = littleEndian32(bytes.data()) | static_cast<uint64_t>(littleEndian32(bytes.data() + 4)) << 32;
    else if (readValueBytes(key, "HardwareInformation.MemorySize", kHardwareInfoSize, &bytes) &&
             bytes.size() >= 4)
        count = littleEndian32(bytes.data());
    else
        return;
    display->memorySize = std::to_string(count / 1024 / 1024);
}

void DisplayInfo::getWin9xDisplayInfo(std::string driverKey, DisplayDevice* display)
{
    RegKey key;
    if (key.open(RegRoot::LocalMachine, "System\\CurrentControlSet\\Services\\Class\\" + driverKey + "\\INFO",
                 kKeyQueryValue) != kRegSuccess)
        return;
    key.readText("DacType", kValueSize, &display->dacType);
    key.readText("ChipType", kValueSize, &display->chipType);
    key.readText("VideoMemory", kValueSize, &display->memorySize);
}

void DisplayInfo::getVideoBIOSInfo(DisplayDevice* display)
{
    RegKey key;
    if (key.open(RegRoot::LocalMachine, "HARDWARE\\DESCRIPTION\\System", kKeyQueryValue) != kRegSuccess)
        return;
    key.readText("VideoBiosDate", kValueSize, &display->biosDate);
    std::vector<uint8_t> version;
    if (readValueBytes(key, "VideoBiosVersion", kValueSize, &version))
        display->biosVersion = joinedBiosVersion(version);
}

int DisplayInfo::getVgaListCount() { return static_cast<int>(displayDevices.size()); }

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
