#include "report/CollectorSet.h"

namespace kel {

CollectorSlots& collectorSlots()
{
    static CollectorSlots slots;
    return slots;
}

void createCollectorSet()
{
    CollectorSlots& s = collectorSlots();
    s.os = std::make_unique<OSInfo>();
    s.cpu = std::make_unique<CpuInfo>();
    s.memory = std::make_unique<MemInfo>();
    s.disks = std::make_unique<DiskInfo>();
    s.printers = std::make_unique<PrinterInfo>();
    s.directX = std::make_unique<DirectXInfo>();
    s.software = std::make_unique<SoftwareInfo>();
    s.startUp = std::make_unique<StartUpInfo>();
    s.devices = std::make_unique<DeviceInfo>();
    s.display = std::make_unique<DisplayInfo>();
    s.media = std::make_unique<MediaInfo>();
    s.network = std::make_unique<NetworkInfo>();

    s.os->setOSInfo();
    const bool isNT = s.os->getOSType() != 0;
    s.cpu->setCpuInfo();
    s.memory->setMemoryInfo();
    s.devices->setSystemDeviceInfo(isNT);
    s.display->setDisplayInfo(isNT, s.devices->getSystemDeviceInfo());
    s.media->setMediaInfo(isNT, s.devices->getSystemDeviceInfo());
    s.network->setNetworkInfo(isNT, s.devices->getSystemDeviceInfo());
    s.disks->setDiskInfo();
    s.printers->setPrinterInfo();
    s.directX->setDirectXInfo();
    s.software->setSoftwareInfo();
    s.startUp->setStartUpInfo();
}

void destroyCollectorSet()
{
    CollectorSlots& s = collectorSlots();
    s.os.reset();
    s.cpu.reset();
    s.memory.reset();
    s.display.reset();
    s.media.reset();
    s.network.reset();
    s.disks.reset();
    s.printers.reset();
    s.directX.reset();
    s.software.reset();
    s.startUp.reset();
    s.devices.reset();
}

}  // namespace kel
