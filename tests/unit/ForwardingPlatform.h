// A platform that hands every call to another one, so that a test can
// change or watch a single service of a recorded machine.
#pragma once

#include "platform/Platform.h"

namespace kel {

class ForwardingPlatform : public Platform {
public:
    explicit ForwardingPlatform(Platform& base) : base_(base) {}

    long regOpenKey(RegRoot root, const char* path, uint32_t access, RegHandle* key) override
    {
        return base_.regOpenKey(root, path, access, key);
    }
    long regCloseKey(RegHandle key) override { return base_.regCloseKey(key); }
    long regQueryInfoKey(RegHandle key, uint32_t* subKeys, uint32_t* values) override
    {
        return base_.regQueryInfoKey(key, subKeys, values);
    }
    long regEnumKey(RegHandle key, uint32_t index, char* name, uint32_t nameSize) override
    {
        return base_.regEnumKey(key, index, name, nameSize);
    }
    long regEnumValue(RegHandle key, uint32_t index, char* name, uint32_t* nameSize, uint32_t* type,
                      uint8_t* data, uint32_t* dataSize) override
    {
        return base_.regEnumValue(key, index, name, nameSize, type, data, dataSize);
    }
    long regQueryValue(RegHandle key, const char* name, uint32_t* type, uint8_t* data,
                       uint32_t* dataSize) override
    {
        return base_.regQueryValue(key, name, type, data, dataSize);
    }
    bool regSameKey(RegHandle a, RegHandle b) override { return base_.regSameKey(a, b); }
    bool isWindows64() override { return base_.isWindows64(); }
    uint32_t ownRegistryView() override { return base_.ownRegistryView(); }
    bool getVersion(VersionRecord* record) override { return base_.getVersion(record); }
    bool getTrueVersion(uint32_t* major, uint32_t* minor, uint32_t* build) override
    {
        return base_.getTrueVersion(major, minor, build);
    }
    void globalMemoryStatus(MemoryStatus* status) override { return base_.globalMemoryStatus(status); }
    bool globalMemoryStatusEx(MemoryStatus* status) override { return base_.globalMemoryStatusEx(status); }
    void getSystemInfo(SystemInfo* info) override { return base_.getSystemInfo(info); }
    uint32_t ansiCodePage() override { return base_.ansiCodePage(); }
    bool ansiToUtf16(const char* text, std::size_t length, std::u16string* out) override
    {
        return base_.ansiToUtf16(text, length, out);
    }
    bool hasCpuid() override { return base_.hasCpuid(); }
    CpuidRegs cpuid(uint32_t leaf) override { return base_.cpuid(leaf); }
    bool hasTimeStampCounter() override { return base_.hasTimeStampCounter(); }
    uint32_t readTimeStampCounter() override { return base_.readTimeStampCounter(); }
    bool queryPerformanceFrequency(int64_t* frequency) override
    {
        return base_.queryPerformanceFrequency(frequency);
    }
    bool queryPerformanceCounter(int64_t* counter) override { return base_.queryPerformanceCounter(counter); }
    uint32_t getPriorityClass() override { return base_.getPriorityClass(); }
    bool setPriorityClass(uint32_t priorityClass) override { return base_.setPriorityClass(priorityClass); }
    ScreenCaps getScreenCaps() override { return base_.getScreenCaps(); }
    uint32_t mediaDeviceCount(MediaFamily family) override { return base_.mediaDeviceCount(family); }
    uint32_t mediaDeviceCaps(MediaFamily family, uint32_t device, MediaCaps* caps) override
    {
        return base_.mediaDeviceCaps(family, device, caps);
    }
    uint32_t getLogicalDriveStrings(uint32_t bufferLength, char* buffer) override
    {
        return base_.getLogicalDriveStrings(bufferLength, buffer);
    }
    uint32_t getDriveType(const char* root) override { return base_.getDriveType(root); }
    bool hasDiskFreeSpaceEx() override { return base_.hasDiskFreeSpaceEx(); }
    bool getDiskFreeSpaceEx(const char* root, DiskSpaceEx* space) override
    {
        return base_.getDiskFreeSpaceEx(root, space);
    }
    bool getDiskFreeSpace(const char* root, DiskSpace* space) override
    {
        return base_.getDiskFreeSpace(root, space);
    }
    bool getVolumeInformation(const char* root, char* volumeName, uint32_t volumeNameSize, uint32_t* serial,
                              char* fileSystem, uint32_t fileSystemSize) override
    {
        return base_.getVolumeInformation(root, volumeName, volumeNameSize, serial, fileSystem,
                                          fileSystemSize);
    }
    bool enumPrinters(uint32_t flags, uint32_t level, uint8_t* buffer, uint32_t bufferSize, uint32_t* needed,
                      uint32_t* returned) override
    {
        return base_.enumPrinters(flags, level, buffer, bufferSize, needed, returned);
    }
    bool getSpecialFolderPath(int folder, char* path) override
    {
        return base_.getSpecialFolderPath(folder, path);
    }
    FindHandle findFirstFile(const char* pattern, char* fileName) override
    {
        return base_.findFirstFile(pattern, fileName);
    }
    bool findNextFile(FindHandle search, char* fileName) override
    {
        return base_.findNextFile(search, fileName);
    }
    void findClose(FindHandle search) override { return base_.findClose(search); }

private:
    Platform& base_;
};

}  // namespace kel
