#include "collectors/MediaInfo.h"

#include "collectors/DevicePresence.h"
#include "collectors/TextOut.h"
#include "platform/Platform.h"
#include "platform/RegKey.h"

#include <cstdio>

namespace kel {

namespace {

bool contains(const std::string& text, const char* word) { return text.find(word) != std::string::npos; }

// The product name fills its 32-byte member; a faulty driver may leave it
// without a NUL.
std::string productNameOf(const MediaCaps& caps)
{
    return boundedText(caps.productName, sizeof caps.productName, sizeof caps.productName);
}

// " v" and the driver version, major from bits 8 to 15, minor from 0 to 7.
std::string versionSuffix(uint32_t driverVersion)
{
    char suffix[16];
    std::snprintf(suffix, sizeof suffix, " v%d.%d", static_cast<int>(driverVersion >> 8 & 0xFF),
                  static_cast<int>(driverVersion & 0xFF));
    return suffix;
}

// Every device of a family that answers, each with its version suffix.
void listDevices(MediaFamily family, OwnedList<std::string>& devices)
{
    const uint32_t count = platform().mediaDeviceCount(family);
    for (uint32_t device = 0; device < count; ++device) {
        MediaCaps caps;
        if (platform().mediaDeviceCaps(family, device, &caps) != kMmSuccess)
            continue;
        devices.append(productNameOf(caps) + versionSuffix(caps.driverVersion));
    }
}

}  // namespace

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

void MediaInfo::setMediaInfo(bool nt, const DeviceClassList* classLists)
{
    isNT = nt;
    bool severalSoundDevices = false;
    classLists[kMediaClassList].forEach(
        [&](const DeviceClass& device) { pickSoundDevice(device, &severalSoundDevices); });
    // Since Windows Vista the PCI function is the audio controller, filed
    // under System, and the MEDIA devices are its codecs on their own bus:
    // the sound device is then the default endpoint's adapter.
    if (isNT && soundDeviceName.empty())
        platform().defaultAudioEndpointName(&soundDeviceName);

    listWaveOutDevices(severalSoundDevices);
    listDevices(MediaFamily::WaveIn, waveInDevices);
    listDevices(MediaFamily::MidiOut, midiOutDevices);
    listDevices(MediaFamily::MidiIn, midiInDevices);
    listDevices(MediaFamily::Aux, auxDevices);
    listDevices(MediaFamily::Mixer, mixerDevices);
}

void MediaInfo::pickSoundDevice(const DeviceClass& device, bool* severalSoundDevices)
{
    const std::string& name = shownName(device);
    if (isNT) {
        if (noLongerAttached(device))
            return;
        // Independent tests: a game port on the PCI bus is the sound device too.
        if (contains(name, "Game"))
            gameDeviceName = name;
        if (mentionsPci(device.locationInformation))
            soundDeviceName = name;
        return;
    }
    if (!mentionsPci(device.hardwareId))
        return;
    if (contains(name, "Game")) {
        gameDeviceName = name;
        return;
    }
    if (!soundDeviceName.empty() && soundDeviceName != name)
        *severalSoundDevices = true;
    soundDeviceName = name;
}

// Wave output is listed like the other families, except that version 0 gets
// no suffix, and that with several sound devices the wave output's product
// name becomes the sound device name.
void MediaInfo::listWaveOutDevices(bool severalSoundDevices)
{
    const uint32_t count = platform().mediaDeviceCount(MediaFamily::WaveOut);
    for (uint32_t device = 0; device < count; ++device) {
        MediaCaps caps;
        if (platform().mediaDeviceCaps(MediaFamily::WaveOut, device, &caps) != kMmSuccess)
            continue;
        const std::string name = productNameOf(caps);
        if (severalSoundDevices)
            soundDeviceName = name;
        waveOutDevices.append(caps.driverVersion != 0 ? name + versionSuffix(caps.driverVersion) : name);
    }
}

void MediaInfo::getMediaInfo(char* buffer, int size) { writeTextIfFits(soundDeviceName, buffer, size); }

}  // namespace kel
