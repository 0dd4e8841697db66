// The audio endpoint area of the platform seam: the Core Audio device
// enumerator (mmdevapi) of Windows Vista and later.
#pragma once

#include <string>

namespace kel {

class PlatformAudio {
public:
    virtual ~PlatformAudio() = default;

    // The adapter name (PKEY_DeviceInterface_FriendlyName) of the default
    // render endpoint for the console role, in the ANSI code page, with "?"
    // for what the code page lacks. False, name untouched, when there is no
    // such enumerator, no endpoint, or the property is absent, not a string
    // or empty. Whether or not the calling thread has initialised COM, its
    // COM state is afterwards as it was.
    virtual bool defaultAudioEndpointName(std::string* name) = 0;
};

}  // namespace kel
