// The module-wide collector set that one report call creates, fills and
// destroys.
#pragma once

#include "collectors/CpuInfo.h"
#include "collectors/DeviceInfo.h"
#include "collectors/DirectXInfo.h"
#include "collectors/DiskInfo.h"
#include "collectors/DisplayInfo.h"
#include "collectors/MediaInfo.h"
#include "collectors/MemInfo.h"
#include "collectors/NetworkInfo.h"
#include "collectors/OSInfo.h"
#include "collectors/PrinterInfo.h"
#include "collectors/SoftwareInfo.h"
#include "collectors/StartUpInfo.h"

#include <memory>

namespace kel {

struct CollectorSlots {
    std::unique_ptr<OSInfo> os;
    std::unique_ptr<CpuInfo> cpu;
    std::unique_ptr<MemInfo> memory;
    std::unique_ptr<DiskInfo> disks;
    std::unique_ptr<PrinterInfo> printers;
    std::unique_ptr<DirectXInfo> directX;
    std::unique_ptr<SoftwareInfo> software;
    std::unique_ptr<StartUpInfo> startUp;
    std::unique_ptr<DeviceInfo> devices;
    std::unique_ptr<DisplayInfo> display;
    std::unique_ptr<MediaInfo> media;
    std::unique_ptr<NetworkInfo> network;
};

// The slots themselves; the accessors read them.
CollectorSlots& collectorSlots();

// Creates every collector, then fills them in their fixed order. Running out
// of memory raises std::bad_alloc; the caller then destroys the set.
void createCollectorSet();

// Destroys the collectors in their fixed order and empties every slot.
void destroyCollectorSet();

}  // namespace kel
