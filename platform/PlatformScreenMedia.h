// The screen and multimedia area of the platform seam: the screen device's
// capabilities (gdi32) and the multimedia devices' (winmm).
#pragma once

#include <cstddef>
#include <cstdint>

namespace kel {

// The ten screen capabilities the display collector asks for, in its order.
struct ScreenCaps {
    int logPixelsY = 0;
    int horzRes = 0;
    int vertRes = 0;
    int bitsPixel = 0;
    int technology = 0;
    int horzSize = 0;
    int vertSize = 0;
    int aspectX = 0;
    int aspectY = 0;
    int aspectXY = 0;
};

enum class MediaFamily { WaveOut, WaveIn, MidiOut, MidiIn, Aux, Mixer };
constexpr std::size_t kMediaFamilyCount = static_cast<std::size_t>(MediaFamily::Mixer) + 1;

// Multimedia result codes.
enum MediaResult : uint32_t {
    kMmSuccess = 0,
    kMmError = 1,
    kMmBadDeviceId = 2,
    kMmInvalidParameter = 11,
};

// The two members of a multimedia capability structure that are read. The
// name member has the platform's 32 bytes and need not be NUL-terminated.
struct MediaCaps {
    uint32_t driverVersion = 0;
    char productName[32] = {};
};

class PlatformScreenMedia {
public:
    virtual ~PlatformScreenMedia() = default;

    virtual ScreenCaps getScreenCaps() = 0;
    virtual uint32_t mediaDeviceCount(MediaFamily family) = 0;
    // 0 on success, as the multimedia calls answer.
    virtual uint32_t mediaDeviceCaps(MediaFamily family, uint32_t device, MediaCaps* caps) = 0;
};

}  // namespace kel
