// A whole machine described by files: registry.reg (the registry editor's
// export format) and machine.ini (everything that is not registry). It
// answers the platform seam from a registry tree and the facts of
// machine.ini, and stands in for the platform in the command-line tool, in
// tests and, in the native build, as the platform in force. Like the report
// calls it serves, one machine is used by one thread at a time.
#pragma once

#include "platform/Platform.h"
#include "recorded/CodePage.h"
#include "recorded/MachineFacts.h"
#include "recorded/RegistryAccess.h"
#include "recorded/RegistryTree.h"
#include "recorded/SimulatedCpu.h"

#include <cstddef>
#include <map>
#include <memory>
#include <string>
#include <utility>

namespace kel {

class RecordedMachine : public Platform {
public:
    // What a machine is made of, as read from its two files.
    struct Recording {
        std::unique_ptr<RegistryTree> tree;
        std::unique_ptr<MachineFacts> facts;
        std::unique_ptr<CodePage> codePage;
    };

    // Reads DIRECTORY/registry.reg and DIRECTORY/machine.ini. On failure
    // returns null and sets *error to one line naming the file, the line and
    // the problem.
    static std::unique_ptr<RecordedMachine> load(const std::string& directory, std::string* error);

    // The same from the files' raw bytes; the names only appear in messages.
    // Machine is this class or a test double derived from it, which then
    // answers what it does not stand in for from the recording.
    template <class Machine = RecordedMachine>
    static std::unique_ptr<Machine> parse(const std::string& registryBytes, const std::string& iniBytes,
                                          std::string* error,
                                          const std::string& registryName = "registry.reg",
                                          const std::string& iniName = "machine.ini")
    {
        Recording recording;
        if (!read(registryBytes, iniBytes, error, registryName, iniName, &recording))
            return nullptr;
        return std::make_unique<Machine>(std::move(recording));
    }

    // An empty machine, as two empty files describe it: no registry keys, no
    // version record, no devices, drives or printers, zero figures. Test
    // doubles derive from it and answer only what they stand in for.
    RecordedMachine();
    explicit RecordedMachine(Recording recording);

    // What tests may observe of the simulated process.
    uint32_t currentPriorityClass() const { return cpu_.priorityClass(); }
    unsigned prioritySetCount() const { return cpu_.prioritySetCount(); }
    // Registry keys and file searches opened and not yet closed.
    std::size_t openKeyCount() const { return registry_.openCount(); }
    std::size_t openSearchCount() const { return searches_.size(); }

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
    bool isWindows64() override { return facts_->windows64; }
    uint32_t ownRegistryView() override;

    // PlatformSystem.
    bool getVersion(VersionRecord* record) override;
    bool getTrueVersion(uint32_t* major, uint32_t* minor, uint32_t* build) override;
    void globalMemoryStatus(MemoryStatus* status) override;
    bool globalMemoryStatusEx(MemoryStatus* status) override;
    void getSystemInfo(SystemInfo* info) override;
    uint32_t activeProcessorCount() override { return facts_->activeProcessors; }
    uint32_t ansiCodePage() override { return codePage_->number(); }
    bool ansiToUtf16(const char* text, std::size_t length, std::u16string* out) override;

    // PlatformProcessor.
    bool hasCpuid() override { return facts_->hasCpuid; }
    CpuidRegs cpuid(uint32_t leaf) override { return cpu_.cpuid(leaf); }
    bool hasTimeStampCounter() override { return facts_->hasTimeStampCounter; }
    uint32_t readTimeStampCounter() override { return cpu_.readTimeStampCounter(); }
    bool queryPerformanceFrequency(int64_t* frequency) override;
    bool queryPerformanceCounter(int64_t* counter) override;
    uint32_t getPriorityClass() override { return cpu_.priorityClass(); }
    bool setPriorityClass(uint32_t priorityClass) override { return cpu_.setPriorityClass(priorityClass); }

    // PlatformScreenMedia.
    ScreenCaps getScreenCaps() override { return facts_->screen; }
    uint32_t mediaDeviceCount(MediaFamily family) override;
    uint32_t mediaDeviceCaps(MediaFamily family, uint32_t device, MediaCaps* caps) override;

    // PlatformDrives.
    uint32_t getLogicalDriveStrings(uint32_t bufferLength, char* buffer) override;
    uint32_t getDriveType(const char* root) override;
    bool hasDiskFreeSpaceEx() override { return facts_->extendedFreeSpace; }
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
    // PlatformIdentity, PlatformNetwork, PlatformFirmware (RecordedMachineFleet.cpp).
    bool getComputerName(char* name, uint32_t* size) override;
    bool getUserName(char* name, uint32_t* size) override;
    bool getJoinInformation(std::string* name, JoinStatus* status) override;
    uint32_t getAdaptersInfo(std::vector<AdapterRecord>* adapters) override;
    uint32_t getSystemFirmwareTable(uint32_t provider, uint32_t tableId, uint8_t* buffer,
                                    uint32_t size) override;
    // The device identifier the inventory tool keeps for this machine; empty
    // when none is recorded.
    const std::string& recordedDeviceId() const { return facts_->identity.deviceId; }

private:
    struct Search {
        const StartupFolderFacts* folder;
        std::string pattern;
        std::size_t next;
    };

    static bool read(const std::string& registryBytes, const std::string& iniBytes, std::string* error,
                     const std::string& registryName, const std::string& iniName, Recording* recording);

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
