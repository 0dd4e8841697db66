// A device fixture in force for one test. The same fixture runs two ways:
// in kel_tests as the recorded machine tests/devices/NAME (registry.reg and
// machine.ini), and in the Wine programs as the real platform, into whose
// registry the test bed imported the same registry.reg.
#pragma once

#include "collectors/DisplayInfo.h"
#include "collectors/MediaInfo.h"
#include "platform/Platform.h"

#include <memory>
#include <sstream>
#include <string>

namespace kel {

// Reads what the collectors gather but no operation formats.
struct DisplayInfoPeer {
    static const OwnedList<DisplayDevice>& devices(const DisplayInfo& info) { return info.displayDevices; }
};

struct MediaInfoPeer {
    static const std::string& gameDeviceName(const MediaInfo& info) { return info.gameDeviceName; }
    static const std::string& soundDeviceName(const MediaInfo& info) { return info.soundDeviceName; }
    static const OwnedList<std::string>& family(const MediaInfo& info, MediaFamily family)
    {
        switch (family) {
        case MediaFamily::WaveOut:
            return info.waveOutDevices;
        case MediaFamily::WaveIn:
            return info.waveInDevices;
        case MediaFamily::MidiOut:
            return info.midiOutDevices;
        case MediaFamily::MidiIn:
            return info.midiInDevices;
        case MediaFamily::Aux:
            return info.auxDevices;
        case MediaFamily::Mixer:
            break;
        }
        return info.mixerDevices;
    }
};

namespace test {

// The report's display, sound and network lines, in report order.
inline std::string deviceLinesOf(const std::string& report)
{
    std::istringstream lines(report);
    std::string line;
    std::string kept;
    while (std::getline(lines, line)) {
        if (line.rfind("Vga ", 0) == 0 || line.rfind("Sound: ", 0) == 0 || line.rfind("Nic ", 0) == 0)
            kept += line + "\n";
    }
    return kept;
}

class FixtureMachine {
public:
    explicit FixtureMachine(const std::string& name);
    ~FixtureMachine();
    FixtureMachine(const FixtureMachine&) = delete;
    FixtureMachine& operator=(const FixtureMachine&) = delete;

    // False when the fixture could not be put in force (the reason is
    // already reported as a test failure).
    bool ready() const { return ready_; }

private:
    std::unique_ptr<Platform> machine_;
    std::unique_ptr<ScopedPlatform> scope_;
    bool ready_ = false;
};

}  // namespace test
}  // namespace kel
