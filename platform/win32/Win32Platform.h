// The real platform: every operation forwards to the Win32 call it stands
// for, in its ANSI form. Functions that the oldest supported systems lack
// (extended free space, the 64-bit view queries, the active processor count,
// the configuration manager) are looked up at run time, so that the module
// still loads there; the audio endpoint is a COM class that is simply absent
// before Windows Vista.
#pragma once

#include "platform/Platform.h"

namespace kel {

class Win32Platform : public Platform {
public:
    // PlatformRegistry.
    long regOpenKey(RegRoot root, const char* path, uint32_t access, RegHandle* key) override;
    long regCloseKey(RegHandle key) override;
    long regQueryInfoKey(RegHandle key, uint32_t* subKeys, uint32_t* values) override;
    long regEnumKey(RegHandle key, uint32_t index, char* name, uint32_t nameSize) override;
    long regEnumValue(RegHandle key, uint32_t index, char* name, uint32_t* nameSize, uint32_t* type,
                      uint8_t* data, uint32_t* dataSize) override;
    long regQueryValue(RegHandle key, const char* name, uint32_t* type, uint8_t* data,
                       uint32_t* dataSize) override;
    bool regSameKey(RegHandle a, RegHandle b) override;
    bool isWindows64() override;
    uint32_t ownRegistryView() override;

    // PlatformSystem.
    bool getVersion(VersionRecord* record) override;
    bool getTrueVersion(uint32_t* major, uint32_t* minor, uint32_t* build) override;
    void globalMemoryStatus(MemoryStatus* status) override;
    bool globalMemoryStatusEx(MemoryStatus* status) override;
    void getSystemInfo(SystemInfo* info) override;
    uint32_t activeProcessorCount() override;
    uint32_t ansiCodePage() override;
    bool ansiToUtf16(const char* text, std::size_t length, std::u16string* out) override;

    // PlatformProcessor.
    bool hasCpuid() override;
    CpuidRegs cpuid(uint32_t leaf) override;
    bool hasTimeStampCounter() override;
    uint32_t readTimeStampCounter() override;
    bool queryPerformanceFrequency(int64_t* frequency) override;
    bool queryPerformanceCounter(int64_t* counter) override;
    uint32_t getPriorityClass() override;
    bool setPriorityClass(uint32_t priorityClass) override;

    // PlatformScreenMedia.
    ScreenCaps getScreenCaps() override;
    uint32_t mediaDeviceCount(MediaFamily family) override;
    uint32_t mediaDeviceCaps(MediaFamily family, uint32_t device, MediaCaps* caps) override;

    // PlatformDrives.
    uint32_t getLogicalDriveStrings(uint32_t bufferLength, char* buffer) override;
    uint32_t getDriveType(const char* root) override;
    bool hasDiskFreeSpaceEx() override;
    bool getDiskFreeSpaceEx(const char* root, DiskSpaceEx* space) override;
    bool getDiskFreeSpace(const char* root, DiskSpace* space) override;
    bool getVolumeInformation(const char* root, char* volumeName, uint32_t volumeNameSize, uint32_t* serial,
                              char* fileSystem, uint32_t fileSystemSize) override;

    // PlatformSpooler.
    bool enumPrinters(uint32_t flags, uint32_t level, uint8_t* buffer, uint32_t bufferSize, uint32_t* needed,
                      uint32_t* returned) override;

    // PlatformShell.
    bool getSpecialFolderPath(int folder, char* path) override;
    FindHandle findFirstFile(const char* pattern, char* fileName) override;
    bool findNextFile(FindHandle search, char* fileName) override;
    void findClose(FindHandle search) override;

    // PlatformDevices.
    uint32_t locateDevNode(const char* instanceId) override;

    // PlatformAudio.
    bool defaultAudioEndpointName(std::string* name) override;
    // PlatformIdentity, PlatformNetwork, PlatformFirmware (Win32PlatformFleet.cpp).
    bool getComputerName(char* name, uint32_t* size) override;
    bool getUserName(char* name, uint32_t* size) override;
    bool getJoinInformation(std::string* name, JoinStatus* status) override;
    uint32_t getAdaptersInfo(std::vector<AdapterRecord>* adapters) override;
    uint32_t getSystemFirmwareTable(uint32_t provider, uint32_t tableId, uint8_t* buffer,
                                    uint32_t size) override;
};

}  // namespace kel
