// A native client of the classes Kel.ocx exports: the lines of the brief
// report, taken without COM. Build with MinGW against libKel.dll.a and keep
// Kel.ocx beside the program.
#include "control/Kel.h"

#include <cstdio>

namespace {

char buffer[1024];

const char* cleared()
{
    buffer[0] = '\0';
    return buffer;
}

}  // namespace

int main()
{
    kel::OSInfo os;
    os.setOSInfo();
    const bool isNT = os.getOSType() != 0;
    cleared();
    os.getOSInfo(buffer, sizeof buffer);
    std::printf("OS: %s\n", buffer);

    kel::CpuInfo cpu;
    cpu.setCpuInfo();
    cleared();
    cpu.getCpuInfo(buffer, sizeof buffer);
    std::printf("CPU: %s\n", buffer);

    kel::MemInfo memory;
    memory.setMemoryInfo();
    cleared();
    memory.getMemoryInfo(buffer, sizeof buffer);
    std::printf("Memory: %s\n", buffer);

    kel::DeviceInfo devices;
    devices.setSystemDeviceInfo(isNT);
    kel::DisplayInfo display;
    display.setDisplayInfo(isNT, devices.getSystemDeviceInfo());
    for (int i = 0; i < display.getVgaListCount(); ++i) {
        std::printf("Vga %d: ", i);
        if (display.getVgaDescription(i, buffer, sizeof buffer) > 0)
            std::printf("%s, ", buffer);
        std::printf("%d\n", display.getVgaMemorySize(i));
    }

    kel::MediaInfo media;
    media.setMediaInfo(isNT, devices.getSystemDeviceInfo());
    cleared();
    media.getMediaInfo(buffer, sizeof buffer);
    std::printf("Sound: %s\n", buffer);

    kel::DirectXInfo directX;
    directX.setDirectXInfo();
    cleared();
    directX.getDirectXInfo(buffer, sizeof buffer);
    std::printf("DirectX: %s\n", buffer);

    kel::NetworkInfo network;
    network.setNetworkInfo(isNT, devices.getSystemDeviceInfo());
    for (int i = 0; i < network.getNicListCount(); ++i) {
        std::printf("Nic %d: ", i);
        if (network.getNicDescription(i, buffer, sizeof buffer) > 0)
            std::printf("%s", buffer);
        std::printf("\n");
    }
    return 0;
}
