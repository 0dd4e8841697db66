// A platform for programs that only take the processor: every service that
// setCpuInfo has no business calling is reported through unexpected() and
// answered as a failing platform would answer.
#pragma once

#include "platform/Platform.h"

namespace kel {

class CpuOnlyPlatform : public Platform {
public:
    // Called with the name of a service the processor collector must not use.
    virtual void unexpected(const char* service) = 0;

    long regOpenKey(RegRoot, const char*, uint32_t, RegHandle*) override { return refused("regOpenKey"); }
    long regCloseKey(RegHandle) override { return refused("regCloseKey"); }
    long regQueryInfoKey(RegHandle, uint32_t*, uint32_t*) override { return refused("regQueryInfoKey"); }
    long regEnumKey(RegHandle, uint32_t, char*, uint32_t) override { return refused("regEnumKey"); }
    long regEnumValue(RegHandle, uint32_t, char*, uint32_t*, uint32_t*, uint8_t*, uint32_t*) override
    {
        return refused("regEnumValue");
    }
    long regQueryValue(RegHandle, const char*, uint32_t*, uint8_t*, uint32_t*) override
    {
        return refused("regQueryValue");
    }
    bool regSameKey(RegHandle, RegHandle) override { return !refused("regSameKey"); }
    bool isWindows64() override { return !refused("isWindows64"); }
    uint32_t ownRegistryView() override { return !refused("ownRegistryView"); }

    bool getVersion(VersionRecord*) override { return !refused("getVersion"); }
    bool getTrueVersion(uint32_t*, uint32_t*, uint32_t*) override { return !refused("getTrueVersion"); }
    void globalMemoryStatus(MemoryStatus*) override { refused("globalMemoryStatus"); }
    bool globalMemoryStatusEx(MemoryStatus*) override { return !refused("globalMemoryStatusEx"); }
    uint32_t ansiCodePage() override { return !refused("ansiCodePage"); }
    bool ansiToUtf16(const char*, std::size_t, std::u16string*) override { return !refused("ansiToUtf16"); }

    ScreenCaps getScreenCaps() override
    {
        refused("getScreenCaps");
        return ScreenCaps{};
    }
    uint32_t mediaDeviceCount(MediaFamily) override { return !refused("mediaDeviceCount"); }
    uint32_t mediaDeviceCaps(MediaFamily, uint32_t, MediaCaps*) override
    {
        return refused("mediaDeviceCaps");
    }

    uint32_t getLogicalDriveStrings(uint32_t, char*) override { return !refused("getLogicalDriveStrings"); }
    uint32_t getDriveType(const char*) override { return !refused("getDriveType"); }
    bool hasDiskFreeSpaceEx() override { return !refused("hasDiskFreeSpaceEx"); }
    bool getDiskFreeSpaceEx(const char*, DiskSpaceEx*) override { return !refused("getDiskFreeSpaceEx"); }
    bool getDiskFreeSpace(const char*, DiskSpace*) override { return !refused("getDiskFreeSpace"); }
    bool getVolumeInformation(const char*, char*, uint32_t, uint32_t*, char*, uint32_t) override
    {
        return !refused("getVolumeInformation");
    }
    bool enumPrinters(uint32_t, uint32_t, uint8_t*, uint32_t, uint32_t*, uint32_t*) override
    {
        return !refused("enumPrinters");
    }
    bool getSpecialFolderPath(int, char*) override { return !refused("getSpecialFolderPath"); }
    FindHandle findFirstFile(const char*, char*) override { return !refused("findFirstFile"); }
    bool findNextFile(FindHandle, char*) override { return !refused("findNextFile"); }
    void findClose(FindHandle) override { refused("findClose"); }

private:
    // Reports the call; the platform's "file not found", which every caller
    // takes as a failure (and !refused() as false or 0).
    long refused(const char* service)
    {
        unexpected(service);
        return kRegFileNotFound;
    }
};

}  // namespace kel
