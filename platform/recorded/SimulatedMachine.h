// The recorded machine at run time: the platform seam answered from a
// registry tree and the facts of machine.ini. Like the report calls it
// serves, one machine is used by one thread at a time.
#pragma once

#include "platform/recorded/CodePage.h"
#include "platform/recorded/MachineFacts.h"
#include "platform/recorded/RecordedMachine.h"
#include "platform/recorded/RegistryAccess.h"
#include "platform/recorded/RegistryTree.h"
#include "platform/recorded/SimulatedCpu.h"

#include <map>
#include <memory>
#include <string>

namespace kel {

class SimulatedMachine : public RecordedMachine {
public:
    SimulatedMachine(std::unique_ptr<RegistryTree> tree, std::unique_ptr<MachineFacts> facts,
                     std::unique_ptr<CodePage> codePage);

    uint32_t currentPriorityClass() const override { return cpu_.priorityClass(); }
    unsigned prioritySetCount() const override { return cpu_.prioritySetCount(); }
    std::size_t openKeyCount() const override;
    std::size_t openSearchCount() const override { return searches_.size(); }

    long regOpenKey(RegRoot root, const char* path, uint32_t access, RegHandle* key) override;
    long regCloseKey(RegHandle key) override;
    long regQueryInfoKey(RegHandle key, uint32_t* subKeys, uint32_t* values) override;
    long regEnumKey(RegHandle key, uint32_t index, char* name, uint32_t nameSize) override;
    long regEnumValue(RegHandle key, uint32_t index, char* name, uint32_t* nameSize, uint32_t* type,
                      uint8_t* data, uint32_t* dataSize) override;
    long regQueryValue(RegHandle key, const char* name, uint32_t* type, uint8_t* data,
                       uint32_t* dataSize) override;
    bool regSameKey(RegHandle a, RegHandle b) override;
    bool isWindows64() override { return facts_->windows64; }
    uint32_t ownRegistryView() override;

    bool getVersion(VersionRecord* record) override;
    bool getTrueVersion(uint32_t* major, uint32_t* minor, uint32_t* build) override;
    void globalMemoryStatus(MemoryStatus* status) override;
    bool globalMemoryStatusEx(MemoryStatus* status) override;
    void getSystemInfo(SystemInfo* info) override;
    uint32_t ansiCodePage() override { return codePage_->number(); }
    bool ansiToUtf16(const char* text, std::size_t length, std::u16string* out) override;

    bool hasCpuid() override { return facts_->hasCpuid; }
    CpuidRegs cpuid(uint32_t leaf) override { return cpu_.cpuid(leaf); }
    bool hasTimeStampCounter() override { return facts_->hasTimeStampCounter; }
    uint32_t readTimeStampCounter() override { return cpu_.readTimeStampCounter(); }
    bool queryPerformanceFrequency(int64_t* frequency) override;
    bool queryPerformanceCounter(int64_t* counter) override;
    uint32_t getPriorityClass() override { return cpu_.priorityClass(); }
    bool setPriorityClass(uint32_t priorityClass) override { return cpu_.setPriorityClass(priorityClass); }

    ScreenCaps getScreenCaps() override { return facts_->screen; }
    uint32_t mediaDeviceCount(MediaFamily family) override;
    uint32_t mediaDeviceCaps(MediaFamily family, uint32_t device, MediaCaps* caps) override;

    uint32_t getLogicalDriveStrings(uint32_t bufferLength, char* buffer) override;
    uint32_t getDriveType(const char* root) override;
    bool hasDiskFreeSpaceEx() override { return facts_->extendedFreeSpace; }
    bool getDiskFreeSpaceEx(const char* root, DiskSpaceEx* space) override;
    bool getDiskFreeSpace(const char* root, DiskSpace* space) override;
    bool getVolumeInformation(const char* root, char* volumeName, uint32_t volumeNameSize, uint32_t* serial,
                              char* fileSystem, uint32_t fileSystemSize) override;

    bool enumPrinters(uint32_t flags, uint32_t level, uint8_t* buffer, uint32_t bufferSize, uint32_t* needed,
                      uint32_t* returned) override;

    bool getSpecialFolderPath(int folder, char* path) override;
    FindHandle findFirstFile(const char* pattern, char* fileName) override;
    bool findNextFile(FindHandle search, char* fileName) override;
    void findClose(FindHandle search) override;

private:
    struct Search {
        const StartupFolderFacts* folder;
        std::string pattern;
        std::size_t next;
    };

    const DriveFacts* drive(const char* root) const;
    std::string folderPath(int folder) const;
    const StartupFolderFacts* folderFacts(int folder) const;
    bool nextMatch(Search* search, char* fileName) const;

    std::unique_ptr<RegistryTree> tree_;
    std::unique_ptr<MachineFacts> facts_;
    std::unique_ptr<CodePage> codePage_;
    RegistryAccess registry_;
    SimulatedCpu cpu_;
    std::map<FindHandle, Search> searches_;
    FindHandle nextSearch_ = 0x2000;
};

}  // namespace kel
