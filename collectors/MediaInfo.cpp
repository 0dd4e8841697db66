#include "collectors/MediaInfo.h"

#include "collectors/TextOut.h"

namespace kel {

MediaInfo::MediaInfo() : isNT(false) {}
MediaInfo::MediaInfo(const MediaInfo& other) = default;
MediaInfo& MediaInfo::operator=(const MediaInfo& other) = default;

MediaInfo::~MediaInfo()
{
    // Each list last entry first, the lists in member order.
    waveOutDevices.clear();
    waveInDevices.clear();
    midiOutDevices.clear();
    midiInDevices.clear();
    auxDevices.clear();
    mixerDevices.clear();
}

// Not built yet: sound arrives with the device inventory.
void MediaInfo::setMediaInfo(bool nt, const DeviceClassList*)
{
    isNT = nt;
}

void MediaInfo::getMediaInfo(char* buffer, int size)
{
    writeTextIfFits(soundDeviceName, buffer, size);
}

}  // namespace kel
