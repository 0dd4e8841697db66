// Turns the sections of machine.ini into MachineFacts: every key known,
// every number checked, every text converted to the machine's code page.
#pragma once

#include "recorded/IniFile.h"
#include "recorded/MachineFacts.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace kel {

class CodePage;

class MachineIniReader {
public:
    MachineIniReader(const IniFile& ini, const std::string& fileName);

    // Fills facts and opens the machine's code page; false with *error set
    // to "FILE, line N: problem" on the first bad entry.
    bool read(MachineFacts* facts, std::unique_ptr<CodePage>* codePage, std::string* error);

private:
    using Entry = IniFile::Entry;
    using Section = IniFile::Section;
    struct Key {
        const char* name;
        std::function<bool(const Entry&)> read;
    };
    using Numbered = std::map<uint32_t, const Entry*>;

    bool readSection(const Section& section);
    bool readSystem(const Section& section);
    bool readVersion(const Section& section);
    bool readMemory(const Section& section);
    bool readCpu(const Section& section);
    bool readLeaf(const Entry& entry, const std::string& leafText);
    bool readScreen(const Section& section);
    bool readMedia(const Section& section);
    bool readMediaDevice(const Entry& entry, MediaDeviceFacts* device);
    bool readDevices(const Section& section);
    bool readDrives(const Section& section);
    bool readDriveDetail(const Entry& entry, const std::string& detail, DriveFacts* drive);
    bool readPrinters(const Section& section);
    bool readShell(const Section& section);
    bool readIdentity(const Section& section);
    bool readAdapters(const Section& section);
    bool readAdapterDetail(const Entry& entry, const std::string& detail, AdapterRecord* adapter);
    bool readFirmware(const Section& section);

    bool readKeys(const Section& section, const std::vector<Key>& keys);
    // An entry NAME.DETAIL of a numbered or lettered item, by its detail.
    bool readDetailKey(const Entry& entry, const std::string& detail, const std::vector<Key>& keys,
                       const char* section);
    bool collectNumbered(const Entry& entry, const std::string& prefix, Numbered* numbered, bool* matched);
    bool checkNoGaps(const Numbered& numbered, const std::string& prefix);
    // A section that holds one numbered family, PREFIX.0 onwards, and nothing else.
    bool readOnlyNumbered(const Section& section, const std::string& prefix, Numbered* numbered);

    bool readU32(const Entry& entry, uint32_t* out);
    bool readU64(const Entry& entry, uint64_t* out);
    bool readVersionNumbers(const Entry& entry, VersionNumbers* out);
    bool readInt(const Entry& entry, int* out);
    bool readYesNo(const Entry& entry, bool* out);
    bool readOkFail(const Entry& entry, bool* fails);
    bool readTscMhz(const Entry& entry);
    bool readText(const Entry& entry, const std::string& utf8, std::size_t maxBytes, std::string* out);
    bool readFileList(const Entry& entry, StartupFolderFacts* folder);

    bool unknownKey(const Section& section, const Entry& entry);
    bool fail(std::size_t line, const std::string& problem);

    const IniFile& ini_;
    std::string fileName_;
    MachineFacts* facts_ = nullptr;
    std::unique_ptr<CodePage> codePage_;
    std::size_t codePageLine_ = 0;
    std::string error_;
};

}  // namespace kel
