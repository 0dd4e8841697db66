#include "recorded/RecordedMachine.h"

#include "recorded/IniFile.h"
#include "recorded/MachineIniReader.h"
#include "recorded/RegFileReader.h"

#include <cstring>
#include <fstream>
#include <iterator>
#include <limits>
#include <new>

namespace kel {

namespace {

uint32_t cutTo32Bits(uint64_t figure)
{
    constexpr uint64_t most = std::numeric_limits<uint32_t>::max();
    return static_cast<uint32_t>(figure > most ? most : figure);
}

char foldAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 0x20) : c; }

bool equalAscii(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (foldAscii(a[i]) != foldAscii(b[i]))
            return false;
    }
    return true;
}

// The file search's wildcards: '*' any run of characters, '?' one
// character, letters compared without regard to case.
bool matchesPattern(const char* pattern, const char* name)
{
    if (*pattern == '\0')
        return *name == '\0';
    if (*pattern == '*')
        return matchesPattern(pattern + 1, name) || (*name != '\0' && matchesPattern(pattern, name + 1));
    if (*name == '\0')
        return false;
    if (*pattern != '?' && foldAscii(*pattern) != foldAscii(*name))
        return false;
    return matchesPattern(pattern + 1, name + 1);
}

bool readFile(const std::string& path, std::string* bytes, std::string* error)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        *error = path + ": cannot open the file";
        return false;
    }
    bytes->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (in.bad()) {
        *error = path + ": cannot read the file";
        return false;
    }
    return true;
}

bool isConnection(const std::string& printer) { return printer.compare(0, 2, "\\\\") == 0; }

// Copies text and its NUL when they fit in size bytes.
bool copyIfFits(const std::string& text, char* target, uint32_t size)
{
    if (!target)
        return true;
    if (text.size() >= size)
        return false;
    std::memcpy(target, text.c_str(), text.size() + 1);
    return true;
}

}  // namespace

std::unique_ptr<RecordedMachine> RecordedMachine::load(const std::string& directory, std::string* error)
{
    std::string ignored;
    std::string* message = error ? error : &ignored;
    std::string registryPath = directory + "/registry.reg";
    std::string iniPath = directory + "/machine.ini";
    std::string registryBytes;
    std::string iniBytes;
    if (!readFile(registryPath, &registryBytes, message) || !readFile(iniPath, &iniBytes, message))
        return nullptr;
    return parse(registryBytes, iniBytes, message, registryPath, iniPath);
}

bool RecordedMachine::read(const std::string& registryBytes, const std::string& iniBytes, std::string* error,
                           const std::string& registryName, const std::string& iniName, Recording* recording)
{
    std::string ignored;
    std::string* message = error ? error : &ignored;
    IniFile ini;
    if (!ini.parse(iniBytes, iniName, message))
        return false;
    recording->facts = std::make_unique<MachineFacts>();
    MachineIniReader reader(ini, iniName);
    if (!reader.read(recording->facts.get(), &recording->codePage, message))
        return false;
    recording->tree = std::make_unique<RegistryTree>();
    return RegFileReader::read(registryBytes, registryName, *recording->codePage, recording->tree.get(),
                               message);
}

RecordedMachine::RecordedMachine()
    : RecordedMachine(Recording{std::make_unique<RegistryTree>(), std::make_unique<MachineFacts>(),
                                CodePage::open(MachineFacts().codePage)})
{
}

RecordedMachine::RecordedMachine(Recording recording)
    : tree_(std::move(recording.tree)), facts_(std::move(recording.facts)),
      codePage_(std::move(recording.codePage)), registry_(*tree_, *codePage_, facts_->windows64),
      cpu_(*facts_)
{
}

long RecordedMachine::regOpenKey(RegRoot root, const char* path, uint32_t access, RegHandle* key)
{
    return registry_.openKey(root, path, access, key);
}

long RecordedMachine::regCloseKey(RegHandle key) { return registry_.closeKey(key); }

long RecordedMachine::regQueryInfoKey(RegHandle key, uint32_t* subKeys, uint32_t* values)
{
    return registry_.queryInfoKey(key, subKeys, values);
}

long RecordedMachine::regEnumKey(RegHandle key, uint32_t index, char* name, uint32_t nameSize)
{
    return registry_.enumKey(key, index, name, nameSize);
}

long RecordedMachine::regEnumValue(RegHandle key, uint32_t index, char* name, uint32_t* nameSize,
                                   uint32_t* type, uint8_t* data, uint32_t* dataSize)
{
    return registry_.enumValue(key, index, name, nameSize, type, data, dataSize);
}

long RecordedMachine::regQueryValue(RegHandle key, const char* name, uint32_t* type, uint8_t* data,
                                    uint32_t* dataSize)
{
    return registry_.queryValue(key, name, type, data, dataSize);
}

bool RecordedMachine::regSameKey(RegHandle a, RegHandle b) { return registry_.sameKey(a, b); }

uint32_t RecordedMachine::ownRegistryView() { return registry_.ownView(); }

bool RecordedMachine::getVersion(VersionRecord* record)
{
    if (!record || !facts_->hasVersion)
        return false;
    bool accepted = record->infoSize == kVersionRecordSize ||
                    (record->infoSize == kVersionRecordExSize && facts_->versionExtended);
    if (!accepted)
        return false;
    const VersionRecord& version = facts_->version;
    // A compatibility layer may answer other numbers than the true ones.
    const bool shimmed = facts_->hasReportedVersion;
    record->majorVersion = shimmed ? facts_->reportedVersion.major : version.majorVersion;
    record->minorVersion = shimmed ? facts_->reportedVersion.minor : version.minorVersion;
    record->buildNumber = shimmed ? facts_->reportedVersion.build : version.buildNumber;
    record->platformId = version.platformId;
    std::memcpy(record->csdVersion, version.csdVersion, sizeof record->csdVersion);
    record->productType = record->infoSize == kVersionRecordExSize ? version.productType : 0;
    return true;
}

// RtlGetVersion exists on the NT family only, and answers there what the
// machine really is.
bool RecordedMachine::getTrueVersion(uint32_t* major, uint32_t* minor, uint32_t* build)
{
    if (!facts_->hasVersion || facts_->version.platformId != kWindowsNT)
        return false;
    *major = facts_->version.majorVersion;
    *minor = facts_->version.minorVersion;
    *build = facts_->version.buildNumber;
    return true;
}

// The older query's record holds 32-bit figures, so larger ones are cut.
void RecordedMachine::globalMemoryStatus(MemoryStatus* status)
{
    const MemoryStatus& memory = facts_->memory;
    status->memoryLoad = memory.memoryLoad;
    status->totalPhys = cutTo32Bits(memory.totalPhys);
    status->availPhys = cutTo32Bits(memory.availPhys);
    status->totalPageFile = cutTo32Bits(memory.totalPageFile);
    status->availPageFile = cutTo32Bits(memory.availPageFile);
    status->totalVirtual = cutTo32Bits(memory.totalVirtual);
    status->availVirtual = cutTo32Bits(memory.availVirtual);
}

bool RecordedMachine::globalMemoryStatusEx(MemoryStatus* status)
{
    if (!facts_->extendedMemoryStatus)
        return false;
    *status = facts_->memory;
    return true;
}

void RecordedMachine::getSystemInfo(SystemInfo* info) { *info = facts_->system; }

bool RecordedMachine::ansiToUtf16(const char* text, std::size_t length, std::u16string* out)
{
    // The platform's conversion reports exhausted memory by its result.
    try {
        *out = codePage_->toUtf16(std::string(text, length));
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

bool RecordedMachine::queryPerformanceFrequency(int64_t* frequency)
{
    return cpu_.queryPerformanceFrequency(frequency);
}

bool RecordedMachine::queryPerformanceCounter(int64_t* counter)
{
    return cpu_.queryPerformanceCounter(counter);
}

uint32_t RecordedMachine::mediaDeviceCount(MediaFamily family)
{
    return static_cast<uint32_t>(facts_->media[static_cast<std::size_t>(family)].size());
}

uint32_t RecordedMachine::mediaDeviceCaps(MediaFamily family, uint32_t device, MediaCaps* caps)
{
    const std::vector<MediaDeviceFacts>& devices = facts_->media[static_cast<std::size_t>(family)];
    if (device >= devices.size())
        return kMmBadDeviceId;
    if (!caps)
        return kMmInvalidParameter;
    if (devices[device].fails)
        return kMmError;
    caps->driverVersion = devices[device].driverVersion;
    std::memset(caps->productName, 0, sizeof caps->productName);
    // A name of exactly 32 bytes fills the member without a NUL.
    const std::string& name = devices[device].productName;
    std::memcpy(caps->productName, name.data(), name.size());
    return kMmSuccess;
}

uint32_t RecordedMachine::getLogicalDriveStrings(uint32_t bufferLength, char* buffer)
{
    uint32_t length = static_cast<uint32_t>(4 * facts_->drives.size());
    if (!buffer || length + 1 > bufferLength)
        return length + 1;
    char* at = buffer;
    for (const DriveFacts& drive : facts_->drives) {
        const char root[4] = {drive.letter, ':', '\\', '\0'};
        std::memcpy(at, root, sizeof root);
        at += sizeof root;
    }
    *at = '\0';
    return length;
}

const DriveFacts* RecordedMachine::drive(const char* root) const
{
    if (!root || root[0] == '\0' || root[1] != ':' ||
        (root[2] != '\0' && (root[2] != '\\' || root[3] != '\0')))
        return nullptr;
    for (const DriveFacts& drive : facts_->drives) {
        if (drive.letter == foldAscii(root[0]))
            return &drive;
    }
    return nullptr;
}

uint32_t RecordedMachine::getDriveType(const char* root)
{
    const DriveFacts* found = drive(root);
    return found ? found->type : static_cast<uint32_t>(kDriveNoRootDir);
}

bool RecordedMachine::getDiskFreeSpaceEx(const char* root, DiskSpaceEx* space)
{
    const DriveFacts* found = drive(root);
    if (!found || found->spaceFails || !space)
        return false;
    *space = found->spaceEx;
    return true;
}

bool RecordedMachine::getDiskFreeSpace(const char* root, DiskSpace* space)
{
    const DriveFacts* found = drive(root);
    if (!found || found->spaceFails || !space)
        return false;
    *space = found->space;
    return true;
}

bool RecordedMachine::getVolumeInformation(const char* root, char* volumeName, uint32_t volumeNameSize,
                                           uint32_t* serial, char* fileSystem, uint32_t fileSystemSize)
{
    const DriveFacts* found = drive(root);
    if (!found || found->volumeFails)
        return false;
    if (!copyIfFits(found->label, volumeName, volumeNameSize) ||
        !copyIfFits(found->fileSystem, fileSystem, fileSystemSize))
        return false;
    if (serial)
        *serial = found->serial;
    return true;
}

bool RecordedMachine::enumPrinters(uint32_t flags, uint32_t level, uint8_t* buffer, uint32_t bufferSize,
                                   uint32_t* needed, uint32_t* returned)
{
    if (!needed || !returned)
        return false;
    *needed = 0;
    *returned = 0;
    if (level != 1)
        return false;
    std::vector<const std::string*> listed;
    for (const std::string& printer : facts_->printers) {
        bool wanted = isConnection(printer) ? (flags & kPrinterEnumConnections) : (flags & kPrinterEnumLocal);
        if (wanted)
            listed.push_back(&printer);
    }
    // Each record is followed, after all records, by its description (the
    // name), its name and an empty comment.
    std::size_t size = listed.size() * sizeof(PrinterInfo1);
    for (const std::string* name : listed)
        size += 2 * (name->size() + 1) + 1;
    *needed = static_cast<uint32_t>(size);
    if (facts_->printersFail)
        return false;
    if (listed.empty())
        return true;
    if (!buffer || bufferSize < size)
        return false;
    uint8_t* text = buffer + listed.size() * sizeof(PrinterInfo1);
    for (std::size_t i = 0; i < listed.size(); ++i) {
        PrinterInfo1 record{kPrinterEnumIcon8, nullptr, nullptr, nullptr};
        char** fields[] = {&record.description, &record.name, &record.comment};
        const std::string* texts[std::size(fields)] = {listed[i], listed[i], nullptr};
        for (std::size_t f = 0; f < std::size(fields); ++f) {
            std::size_t length = texts[f] ? texts[f]->size() : 0;
            if (length)
                std::memcpy(text, texts[f]->data(), length);
            text[length] = 0;
            *fields[f] = reinterpret_cast<char*>(text);
            text += length + 1;
        }
        std::memcpy(buffer + i * sizeof(PrinterInfo1), &record, sizeof record);
    }
    *returned = static_cast<uint32_t>(listed.size());
    return true;
}

std::string RecordedMachine::folderPath(int folder) const
{
    // Where the shell of the machine's platform family puts the folders.
    bool windows95Family = facts_->hasVersion && facts_->version.platformId == 1;
    if (folder == kFolderStartup)
        return windows95Family ? "C:\\WINDOWS\\Start Menu\\Programs\\StartUp"
                               : "C:\\Documents and Settings\\User\\Start Menu\\Programs\\Startup";
    return windows95Family ? "C:\\WINDOWS\\All Users\\Start Menu\\Programs\\StartUp"
                           : "C:\\Documents and Settings\\All Users\\Start Menu\\Programs\\Startup";
}

const StartupFolderFacts* RecordedMachine::folderFacts(int folder) const
{
    const StartupFolderFacts* facts = folder == kFolderStartup         ? &facts_->startupUser
                                      : folder == kFolderCommonStartup ? &facts_->startupCommon
                                                                       : nullptr;
    return facts && facts->named ? facts : nullptr;
}

bool RecordedMachine::getSpecialFolderPath(int folder, char* path)
{
    if (!folderFacts(folder) || !path)
        return false;
    std::string text = folderPath(folder);
    std::memcpy(path, text.c_str(), text.size() + 1);
    return true;
}

FindHandle RecordedMachine::findFirstFile(const char* pattern, char* fileName)
{
    if (!pattern || !fileName)
        return 0;
    const char* slash = std::strrchr(pattern, '\\');
    if (!slash)
        return 0;
    std::string directory(pattern, static_cast<std::size_t>(slash - pattern));
    for (int folder : {kFolderStartup, kFolderCommonStartup}) {
        const StartupFolderFacts* facts = folderFacts(folder);
        if (!facts || !equalAscii(directory, folderPath(folder)))
            continue;
        Search search{facts, slash + 1, 0};
        if (!nextMatch(&search, fileName))
            return 0;
        FindHandle handle = nextSearch_;
        nextSearch_ += 4;
        searches_[handle] = search;
        return handle;
    }
    return 0;
}

bool RecordedMachine::findNextFile(FindHandle search, char* fileName)
{
    auto found = searches_.find(search);
    return found != searches_.end() && fileName && nextMatch(&found->second, fileName);
}

void RecordedMachine::findClose(FindHandle search) { searches_.erase(search); }

bool RecordedMachine::nextMatch(Search* search, char* fileName) const
{
    const std::vector<std::string>& files = search->folder->files;
    while (search->next < files.size()) {
        const std::string& name = files[search->next++];
        if (matchesPattern(search->pattern.c_str(), name.c_str())) {
            std::memcpy(fileName, name.c_str(), name.size() + 1);
            return true;
        }
    }
    return false;
}

// Instance identifiers compare as the configuration manager compares them,
// without regard to case.
uint32_t RecordedMachine::locateDevNode(const char* instanceId)
{
    if (!instanceId)
        return kCrNoSuchDevnode;
    for (const std::string& absent : facts_->absentDevices) {
        if (equalAscii(absent, instanceId))
            return kCrNoSuchDevnode;
    }
    return kCrSuccess;
}

bool RecordedMachine::defaultAudioEndpointName(std::string* name)
{
    if (!facts_->hasDefaultRender || facts_->defaultRender.empty())
        return false;
    *name = facts_->defaultRender;
    return true;
}

}  // namespace kel
