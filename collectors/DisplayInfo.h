// The display adapters, picked from the device walk's "Display" list.
#pragma once

#include "collectors/DeviceInfo.h"
#include "collectors/DisplayDevice.h"
#include "collectors/KelApi.h"
#include "collectors/OwnedList.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kel {

// Adapter hardware information stored as UTF-16 little-endian data, as 8-bit
// text: code units 1 to 255 are their character, 0 is skipped, larger units
// become '?', and a trailing odd byte is no code unit.
std::string textFromUtf16(const std::vector<uint8_t>& bytes);

// The video BIOS version multi-string: its first string and at most four that
// follow, joined by single spaces, ending at the empty string or the data's end.
std::string joinedBiosVersion(const std::vector<uint8_t>& bytes);

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
    // Tests read the gathered details that no operation formats.
    friend struct DisplayInfoPeer;

    void getDisplayDevList(const DeviceClass* device);
    void getWinNTDisplayInfo(std::string serviceName, DisplayDevice* display);
    void getDriverKeyMemorySize(std::string driverKey, DisplayDevice* display);
    void getWin9xDisplayInfo(std::string driverKey, DisplayDevice* display);
    void getVideoBIOSInfo(DisplayDevice* display);

    bool isNT;
    OwnedList<DisplayDevice> displayDevices;
};

}  // namespace kel
