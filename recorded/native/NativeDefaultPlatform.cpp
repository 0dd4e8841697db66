// The platform of the native flavour when no recorded machine is in force:
// an empty machine, with no registry keys and no version record, on which
// every query fails or answers zero.

#include "platform/Platform.h"

namespace kel {

namespace {

class NativeDefaultPlatform : public Platform {
public:
    long regOpenKey(RegRoot, const char*, uint32_t, RegHandle*) override { return kRegFileNotFound; }
    long regCloseKey(RegHandle) override { return kRegInvalidHandle; }
    long regQueryInfoKey(RegHandle, uint32_t*, uint32_t*) override { return kRegInvalidHandle; }
    long regEnumKey(RegHandle, uint32_t, char*, uint32_t) override { return kRegInvalidHandle; }
    long regEnumValue(RegHandle, uint32_t, char*, uint32_t*, uint32_t*, uint8_t*, uint32_t*) override
    {
        return kRegInvalidHandle;
    }
    long regQueryValue(RegHandle, const char*, uint32_t*, uint8_t*, uint32_t*) override
    {
        return kRegInvalidHandle;
    }
    bool regSameKey(RegHandle, RegHandle) override { return false; }
    bool isWindows64() override { return false; }
    uint32_t ownRegistryView() override { return 0; }

    bool getVersion(VersionRecord*) override { return false; }
    bool getTrueVersion(uint32_t*, uint32_t*, uint32_t*) override { return false; }
    void globalMemoryStatus(MemoryStatus* status) override { *status = MemoryStatus{}; }
    bool globalMemoryStatusEx(MemoryStatus*) override { return false; }
    void getSystemInfo(SystemInfo* info) override { *info = SystemInfo{}; }
    uint32_t ansiCodePage() override { return 1252; }
    bool ansiToUtf16(const char* text, std::size_t length, std::u16string* out) override
    {
        // Only ASCII is expected here; other bytes keep their Latin-1 value.
        out->assign(length, u'\0');
        for (std::size_t i = 0; i < length; ++i)
            (*out)[i] = static_cast<unsigned char>(text[i]);
        return true;
    }

    bool hasCpuid() override { return false; }
    CpuidRegs cpuid(uint32_t) override { return CpuidRegs{}; }
    bool hasTimeStampCounter() override { return false; }
    uint32_t readTimeStampCounter() override { return 0; }
    bool queryPerformanceFrequency(int64_t* frequency) override
    {
        *frequency = 0;
        return false;
    }
    bool queryPerformanceCounter(int64_t* counter) override
    {
        *counter = 0;
        return false;
    }
    uint32_t getPriorityClass() override { return kNormalPriorityClass; }
    bool setPriorityClass(uint32_t) override { return false; }

    ScreenCaps getScreenCaps() override { return ScreenCaps{}; }
    uint32_t mediaDeviceCount(MediaFamily) override { return 0; }
    uint32_t mediaDeviceCaps(MediaFamily, uint32_t, MediaCaps*) override { return 2; }  // bad device number

    uint32_t getLogicalDriveStrings(uint32_t bufferLength, char* buffer) override
    {
        if (!buffer || bufferLength < 1)
            return 1;
        buffer[0] = '\0';
        return 0;
    }
    uint32_t getDriveType(const char*) override { return kDriveNoRootDir; }
    bool hasDiskFreeSpaceEx() override { return true; }
    bool getDiskFreeSpaceEx(const char*, DiskSpaceEx*) override { return false; }
    bool getDiskFreeSpace(const char*, DiskSpace*) override { return false; }
    bool getVolumeInformation(const char*, char*, uint32_t, uint32_t*, char*, uint32_t) override
    {
        return false;
    }

    bool enumPrinters(uint32_t, uint32_t, uint8_t*, uint32_t, uint32_t* needed, uint32_t* returned) override
    {
        if (!needed || !returned)
            return false;
        *needed = 0;
        *returned = 0;
        return true;
    }

    bool getSpecialFolderPath(int, char*) override { return false; }
    FindHandle findFirstFile(const char*, char*) override { return 0; }
    bool findNextFile(FindHandle, char*) override { return false; }
    void findClose(FindHandle) override {}
};

}  // namespace

Platform& defaultPlatform()
{
    static NativeDefaultPlatform empty;
    return empty;
}

}  // namespace kel
