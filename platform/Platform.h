// The one seam through which collectors reach the operating system.
//
// Every service a collector needs is a virtual operation here, shaped like the
// Win32 call it stands for (same result codes, same buffer rules), so that the
// collectors read like code written against Win32 while a recorded machine can
// stand in for the real one. The shipping module links only the Win32 backend.
//
// The services come by area, one pure interface each; a platform is all of
// them, so the compiler proves that every backend answers every service.
#pragma once

#include "platform/PlatformAudio.h"
#include "platform/PlatformDevices.h"
#include "platform/PlatformDrives.h"
#include "platform/PlatformFirmware.h"
#include "platform/PlatformIdentity.h"
#include "platform/PlatformNetwork.h"
#include "platform/PlatformProcessor.h"
#include "platform/PlatformRegistry.h"
#include "platform/PlatformScreenMedia.h"
#include "platform/PlatformShell.h"
#include "platform/PlatformSpooler.h"
#include "platform/PlatformSystem.h"

namespace kel {

class Platform : public PlatformRegistry,
                 public PlatformSystem,
                 public PlatformProcessor,
                 public PlatformScreenMedia,
                 public PlatformDrives,
                 public PlatformSpooler,
                 public PlatformShell,
                 public PlatformDevices,
                 public PlatformAudio,
                 public PlatformIdentity,
                 public PlatformNetwork,
                 public PlatformFirmware {};

// The platform in force for this module.
Platform& platform();

// Puts another platform in force for the lifetime of the object (tests and
// the command-line tool); the previous one comes back afterwards.
class ScopedPlatform {
public:
    explicit ScopedPlatform(Platform& replacement);
    ~ScopedPlatform();
    ScopedPlatform(const ScopedPlatform&) = delete;
    ScopedPlatform& operator=(const ScopedPlatform&) = delete;

private:
    Platform* previous_;
};

}  // namespace kel
