// The sound device name from the device walk's "MEDIA" list, and the
// multimedia devices of the six families.
#pragma once

#include "collectors/DeviceInfo.h"
#include "collectors/KelApi.h"
#include "collectors/OwnedList.h"

#include <string>

namespace kel {

class KEL_API MediaInfo {
public:
    MediaInfo();
    MediaInfo(const MediaInfo& other);
    MediaInfo& operator=(const MediaInfo& other);
    ~MediaInfo();

    void setMediaInfo(bool isNT, const DeviceClassList* classLists);
    void getMediaInfo(char* buffer, int size);

private:
    // Tests read the gathered details that no operation formats.
    friend struct MediaInfoPeer;

    void pickSoundDevice(const DeviceClass& device, bool* severalSoundDevices);
    void listWaveOutDevices(bool severalSoundDevices);

    bool isNT;
    std::string gameDeviceName;
    std::string soundDeviceName;
    OwnedList<std::string> waveOutDevices;
    OwnedList<std::string> waveInDevices;
    OwnedList<std::string> midiOutDevices;
    OwnedList<std::string> midiInDevices;
    OwnedList<std::string> auxDevices;
    OwnedList<std::string> mixerDevices;
};

}  // namespace kel
