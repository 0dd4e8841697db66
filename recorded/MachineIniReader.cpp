#include "recorded/MachineIniReader.h"

#include "inventory/DeviceId.h"

#include "recorded/CodePage.h"
#include "recorded/Excerpt.h"
#include "recorded/Unicode.h"

#include <algorithm>
#include <iterator>
#include <limits>

namespace kel {

namespace {

const char* const kMediaPrefixes[] = {"wave_out", "wave_in", "midi_out", "midi_in", "aux", "mixer"};
static_assert(std::size(kMediaPrefixes) == kMediaFamilyCount, "one prefix per family");

// The longest endpoint name a machine may give: more than a report line holds.
constexpr std::size_t kMaxEndpointName = 1023;

bool isDigit(char c) { return c >= '0' && c <= '9'; }

int hexValue(char c)
{
    if (isDigit(c))
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Decimal digits only, no sign; false on overflow past max.
bool parseDecimal(const std::string& text, uint64_t max, uint64_t* out)
{
    if (text.empty())
        return false;
    uint64_t value = 0;
    for (char c : text) {
        if (!isDigit(c))
            return false;
        uint64_t digit = static_cast<uint64_t>(c - '0');
        if (value > (max - digit) / 10)
            return false;
        value = value * 10 + digit;
    }
    *out = value;
    return true;
}

// Hexadecimal with an optional 0x, at most eight digits.
bool parseHex32(const std::string& text, uint32_t* out)
{
    std::string digits =
        text.compare(0, 2, "0x") == 0 || text.compare(0, 2, "0X") == 0 ? text.substr(2) : text;
    if (digits.empty() || digits.size() > 8)
        return false;
    uint32_t value = 0;
    for (char c : digits) {
        int v = hexValue(c);
        if (v < 0)
            return false;
        value = (value << 4) | static_cast<uint32_t>(v);
    }
    *out = value;
    return true;
}

// A list index: decimal without leading zeros.
bool parseIndex(const std::string& text, uint32_t* out)
{
    uint64_t value = 0;
    if ((text.size() > 1 && text[0] == '0') || !parseDecimal(text, 999999, &value))
        return false;
    *out = static_cast<uint32_t>(value);
    return true;
}

std::vector<std::string> split(const std::string& text, char separator)
{
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (;;) {
        std::size_t end = text.find(separator, start);
        parts.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos)
            return parts;
        start = end + 1;
    }
}

std::vector<std::string> words(const std::string& text)
{
    std::vector<std::string> result;
    for (const std::string& part : split(text, ' ')) {
        std::string word = IniFile::trimmed(part);
        if (!word.empty())
            result.push_back(word);
    }
    return result;
}

}  // namespace

MachineIniReader::MachineIniReader(const IniFile& ini, const std::string& fileName)
    : ini_(ini), fileName_(fileName)
{
}

bool MachineIniReader::read(MachineFacts* facts, std::unique_ptr<CodePage>* codePage, std::string* error)
{
    facts_ = facts;
    const Section* system = ini_.find("system");
    bool ok = !system || readSystem(*system);
    if (ok) {
        codePage_ = CodePage::open(facts_->codePage);
        if (!codePage_)
            ok = fail(codePageLine_, "code page " + std::to_string(facts_->codePage) + " is not known");
    }
    for (const Section& section : ini_.sections()) {
        if (!ok)
            break;
        if (section.name != "system")
            ok = readSection(section);
    }
    if (!ok) {
        *error = error_;
        return false;
    }
    *codePage = std::move(codePage_);
    return true;
}

bool MachineIniReader::readSection(const Section& section)
{
    using Reader = bool (MachineIniReader::*)(const Section&);
    static const struct {
        const char* name;
        Reader read;
    } readers[] = {
        {"version", &MachineIniReader::readVersion},   {"memory", &MachineIniReader::readMemory},
        {"cpu", &MachineIniReader::readCpu},           {"screen", &MachineIniReader::readScreen},
        {"media", &MachineIniReader::readMedia},       {"drives", &MachineIniReader::readDrives},
        {"printers", &MachineIniReader::readPrinters}, {"shell", &MachineIniReader::readShell},
        {"devices", &MachineIniReader::readDevices},   {"identity", &MachineIniReader::readIdentity},
        {"adapters", &MachineIniReader::readAdapters}, {"firmware", &MachineIniReader::readFirmware},
    };
    for (const auto& reader : readers) {
        if (section.name == reader.name)
            return (this->*reader.read)(section);
    }
    return fail(section.line, "unknown section [" + section.name +
                                  "] (system, version, memory, cpu, screen, media, drives, printers, shell, "
                                  "devices, identity, adapters, firmware)");
}

bool MachineIniReader::readSystem(const Section& section)
{
    SystemInfo& system = facts_->system;
    return readKeys(
        section,
        {
            {"codepage",
             [&](const Entry& e) {
                 codePageLine_ = e.line;
                 return readU32(e, &facts_->codePage);
             }},
            {"processors", [&](const Entry& e) { return readU32(e, &system.numberOfProcessors); }},
            {"active_processors", [&](const Entry& e) { return readU32(e, &facts_->activeProcessors); }},
            {"page_size", [&](const Entry& e) { return readU32(e, &system.pageSize); }},
            {"allocation_granularity",
             [&](const Entry& e) { return readU32(e, &system.allocationGranularity); }},
            {"extended_free_space", [&](const Entry& e) { return readYesNo(e, &facts_->extendedFreeSpace); }},
            {"windows64", [&](const Entry& e) { return readYesNo(e, &facts_->windows64); }},
            {"extended_memory_status",
             [&](const Entry& e) { return readYesNo(e, &facts_->extendedMemoryStatus); }},
        });
}

bool MachineIniReader::readVersion(const Section& section)
{
    facts_->hasVersion = true;
    VersionRecord& version = facts_->version;
    version.productType = 1;
    return readKeys(
        section,
        {
            {"platform", [&](const Entry& e) { return readU32(e, &version.platformId); }},
            {"major", [&](const Entry& e) { return readU32(e, &version.majorVersion); }},
            {"minor", [&](const Entry& e) { return readU32(e, &version.minorVersion); }},
            {"build", [&](const Entry& e) { return readU32(e, &version.buildNumber); }},
            {"csd",
             [&](const Entry& e) {
                 std::string text;
                 if (!readText(e, e.value, sizeof version.csdVersion - 1, &text))
                     return false;
                 text.copy(version.csdVersion, text.size());
                 return true;
             }},
            {"extended", [&](const Entry& e) { return readYesNo(e, &facts_->versionExtended); }},
            {"reported", [&](const Entry& e) { return readVersionNumbers(e, &facts_->reportedVersion); }},
            {"product_type",
             [&](const Entry& e) {
                 uint64_t value = 0;
                 if (!parseDecimal(e.value, 255, &value))
                     return fail(e.line, "bad number " + excerpt(e.value) + " for product_type (0 to 255)");
                 version.productType = static_cast<uint8_t>(value);
                 return true;
             }},
        });
}

bool MachineIniReader::readMemory(const Section& section)
{
    MemoryStatus& memory = facts_->memory;
    return readKeys(
        section, {
                     {"load", [&](const Entry& e) { return readU32(e, &memory.memoryLoad); }},
                     {"total_phys", [&](const Entry& e) { return readU64(e, &memory.totalPhys); }},
                     {"avail_phys", [&](const Entry& e) { return readU64(e, &memory.availPhys); }},
                     {"total_page_file", [&](const Entry& e) { return readU64(e, &memory.totalPageFile); }},
                     {"avail_page_file", [&](const Entry& e) { return readU64(e, &memory.availPageFile); }},
                     {"total_virtual", [&](const Entry& e) { return readU64(e, &memory.totalVirtual); }},
                     {"avail_virtual", [&](const Entry& e) { return readU64(e, &memory.availVirtual); }},
                 });
}

bool MachineIniReader::readCpu(const Section& section)
{
    std::vector<Key> keys = {
        {"qpc_frequency",
         [&](const Entry& e) {
             uint64_t value = 0;
             if (!parseDecimal(e.value, static_cast<uint64_t>(std::numeric_limits<int64_t>::max()), &value))
                 return fail(e.line, "bad number " + excerpt(e.value) + " for qpc_frequency (0 to 2^63-1)");
             facts_->qpcFrequency = static_cast<int64_t>(value);
             return true;
         }},
        {"tsc_mhz", [&](const Entry& e) { return readTscMhz(e); }},
        {"cpuid", [&](const Entry& e) { return readYesNo(e, &facts_->hasCpuid); }},
        {"tsc", [&](const Entry& e) { return readYesNo(e, &facts_->hasTimeStampCounter); }},
    };
    Section rest{section.name, section.line, {}};
    for (const Entry& entry : section.entries) {
        if (entry.key.compare(0, 5, "leaf.") == 0) {
            if (!readLeaf(entry, entry.key.substr(5)))
                return false;
        } else {
            rest.entries.push_back(entry);
        }
    }
    return readKeys(rest, keys);
}

bool MachineIniReader::readLeaf(const Entry& entry, const std::string& leafText)
{
    uint32_t leaf = 0;
    if (leafText.compare(0, 2, "0x") == 0 || !parseHex32(leafText, &leaf))
        return fail(entry.line, "bad leaf number in " + entry.key + " (hexadecimal, as in leaf.80000005)");
    if (facts_->cpuidLeaves.count(leaf))
        return fail(entry.line, entry.key + " gives a leaf that is already given");
    std::vector<CpuidRegs> results;
    for (const std::string& part : split(entry.value, ';')) {
        std::vector<std::string> regs = words(part);
        uint32_t value[4] = {};
        bool ok = regs.size() == std::size(value);
        for (std::size_t i = 0; ok && i < std::size(value); ++i)
            ok = parseHex32(regs[i], &value[i]);
        if (!ok)
            return fail(entry.line, entry.key +
                                        " needs four hexadecimal words EAX EBX ECX EDX per result, "
                                        "results separated by ;");
        results.push_back(CpuidRegs{value[0], value[1], value[2], value[3]});
    }
    facts_->cpuidLeaves[leaf] = results;
    return true;
}

bool MachineIniReader::readScreen(const Section& section)
{
    ScreenCaps& s = facts_->screen;
    return readKeys(section, {
                                 {"logpixelsy", [&](const Entry& e) { return readInt(e, &s.logPixelsY); }},
                                 {"horzres", [&](const Entry& e) { return readInt(e, &s.horzRes); }},
                                 {"vertres", [&](const Entry& e) { return readInt(e, &s.vertRes); }},
                                 {"bitspixel", [&](const Entry& e) { return readInt(e, &s.bitsPixel); }},
                                 {"technology", [&](const Entry& e) { return readInt(e, &s.technology); }},
                                 {"horzsize", [&](const Entry& e) { return readInt(e, &s.horzSize); }},
                                 {"vertsize", [&](const Entry& e) { return readInt(e, &s.vertSize); }},
                                 {"aspectx", [&](const Entry& e) { return readInt(e, &s.aspectX); }},
                                 {"aspecty", [&](const Entry& e) { return readInt(e, &s.aspectY); }},
                                 {"aspectxy", [&](const Entry& e) { return readInt(e, &s.aspectXY); }},
                             });
}

bool MachineIniReader::readMedia(const Section& section)
{
    Numbered families[kMediaFamilyCount];
    for (const Entry& entry : section.entries) {
        bool matched = false;
        for (std::size_t f = 0; f < kMediaFamilyCount && !matched; ++f) {
            if (!collectNumbered(entry, kMediaPrefixes[f], &families[f], &matched))
                return false;
        }
        if (matched)
            continue;
        if (entry.key != "default_render")
            return unknownKey(section, entry);
        facts_->hasDefaultRender = true;
        if (!readText(entry, entry.value, kMaxEndpointName, &facts_->defaultRender))
            return false;
    }
    for (std::size_t f = 0; f < kMediaFamilyCount; ++f) {
        if (!checkNoGaps(families[f], kMediaPrefixes[f]))
            return false;
        for (const auto& numbered : families[f]) {
            facts_->media[f].emplace_back();
            if (!readMediaDevice(*numbered.second, &facts_->media[f].back()))
                return false;
        }
    }
    return true;
}

bool MachineIniReader::readMediaDevice(const Entry& entry, MediaDeviceFacts* device)
{
    if (entry.value == "fail") {
        device->fails = true;
        return true;
    }
    std::size_t blank = entry.value.find_first_of(" \t");
    std::string version = entry.value.substr(0, blank);
    std::string name =
        blank == std::string::npos ? std::string() : IniFile::trimmed(entry.value.substr(blank));
    if (!parseHex32(version, &device->driverVersion))
        return fail(entry.line,
                    entry.key + " needs VERSION NAME (VERSION in hexadecimal, as 0x050A) or fail");
    return readText(entry, name, sizeof(MediaCaps::productName), &device->productName);
}

bool MachineIniReader::readDevices(const Section& section)
{
    Numbered absent;
    if (!readOnlyNumbered(section, "absent", &absent))
        return false;
    for (const auto& device : absent) {
        std::string id;
        if (!readText(*device.second, device.second->value, kMaxDeviceIdLength - 1, &id))
            return false;
        facts_->absentDevices.push_back(id);
    }
    return true;
}

bool MachineIniReader::readDrives(const Section& section)
{
    std::map<char, const Entry*> types;
    std::vector<std::pair<const Entry*, std::string>> details;
    for (const Entry& entry : section.entries) {
        const std::string& key = entry.key;
        bool letterForm =
            key.size() >= 7 && key.compare(0, 6, "drive.") == 0 && key[6] >= 'A' && key[6] <= 'Z';
        if (!letterForm || (key.size() > 7 && key[7] != '.'))
            return unknownKey(section, entry);
        if (key.size() == 7)
            types[key[6]] = &entry;
        else
            details.emplace_back(&entry, key.substr(8));
    }
    for (const auto& type : types) {
        DriveFacts drive;
        drive.letter = type.first;
        if (!readU32(*type.second, &drive.type))
            return false;
        facts_->drives.push_back(drive);
    }
    for (const auto& detail : details) {
        char letter = detail.first->key[6];
        auto drive = std::find_if(facts_->drives.begin(), facts_->drives.end(),
                                  [&](const DriveFacts& d) { return d.letter == letter; });
        if (drive == facts_->drives.end())
            return fail(detail.first->line, detail.first->key + " given without drive." + letter + " = TYPE");
        if (!readDriveDetail(*detail.first, detail.second, &*drive))
            return false;
    }
    return true;
}

bool MachineIniReader::readDriveDetail(const Entry& entry, const std::string& detail, DriveFacts* drive)
{
    std::vector<Key> keys = {
        {"total_bytes", [&](const Entry& e) { return readU64(e, &drive->spaceEx.totalBytes); }},
        {"free_bytes", [&](const Entry& e) { return readU64(e, &drive->spaceEx.totalFreeBytes); }},
        {"caller_free_bytes", [&](const Entry& e) { return readU64(e, &drive->spaceEx.callerFreeBytes); }},
        {"sectors_per_cluster", [&](const Entry& e) { return readU32(e, &drive->space.sectorsPerCluster); }},
        {"bytes_per_sector", [&](const Entry& e) { return readU32(e, &drive->space.bytesPerSector); }},
        {"free_clusters", [&](const Entry& e) { return readU32(e, &drive->space.freeClusters); }},
        {"total_clusters", [&](const Entry& e) { return readU32(e, &drive->space.totalClusters); }},
        {"label", [&](const Entry& e) { return readText(e, e.value, kMaxPath - 1, &drive->label); }},
        {"file_system",
         [&](const Entry& e) { return readText(e, e.value, kMaxPath - 1, &drive->fileSystem); }},
        {"serial",
         [&](const Entry& e) {
             return parseHex32(e.value, &drive->serial) ||
                    fail(e.line, "bad hexadecimal number " + excerpt(e.value) + " for " + e.key);
         }},
        {"space", [&](const Entry& e) { return readOkFail(e, &drive->spaceFails); }},
        {"volume", [&](const Entry& e) { return readOkFail(e, &drive->volumeFails); }},
    };
    return readDetailKey(entry, detail, keys, "drives");
}

bool MachineIniReader::readPrinters(const Section& section)
{
    Numbered printers;
    Section rest{section.name, section.line, {}};
    for (const Entry& entry : section.entries) {
        bool matched = false;
        if (!collectNumbered(entry, "printer", &printers, &matched))
            return false;
        if (!matched)
            rest.entries.push_back(entry);
    }
    if (!checkNoGaps(printers, "printer"))
        return false;
    for (const auto& printer : printers) {
        std::string name;
        if (!readText(*printer.second, printer.second->value, std::numeric_limits<uint32_t>::max() / 4,
                      &name))
            return false;
        facts_->printers.push_back(name);
    }
    return readKeys(rest,
                    {{"enumerate", [&](const Entry& e) { return readOkFail(e, &facts_->printersFail); }}});
}

bool MachineIniReader::readShell(const Section& section)
{
    return readKeys(
        section,
        {
            {"startup_user", [&](const Entry& e) { return readFileList(e, &facts_->startupUser); }},
            {"startup_common", [&](const Entry& e) { return readFileList(e, &facts_->startupCommon); }},
        });
}

bool MachineIniReader::readIdentity(const Section& section)
{
    IdentityFacts& identity = facts_->identity;
    return readKeys(
        section,
        {
            {"computer_name",
             [&](const Entry& e) {
                 identity.hasComputerName = true;
                 return readText(e, e.value, kMaxPath - 1, &identity.computerName);
             }},
            {"user_name",
             [&](const Entry& e) {
                 identity.hasUserName = true;
                 return readText(e, e.value, kMaxPath - 1, &identity.userName);
             }},
            {"domain",
             [&](const Entry& e) {
                 identity.hasJoin = true;
                 return readText(e, e.value, kMaxPath - 1, &identity.joinName);
             }},
            {"domain_kind",
             [&](const Entry& e) {
                 static const char* const kKinds[] = {"unknown", "unjoined", "workgroup", "domain"};
                 auto kind = std::find(std::begin(kKinds), std::end(kKinds), e.value);
                 if (kind == std::end(kKinds))
                     return fail(e.line, "domain_kind must be workgroup, domain, unjoined or unknown, not " +
                                             excerpt(e.value));
                 identity.hasJoin = true;
                 identity.joinStatus = static_cast<JoinStatus>(kind - std::begin(kKinds));
                 return true;
             }},
            {"device_id",
             [&](const Entry& e) {
                 return (isDeviceId(e.value) && readText(e, e.value, kMaxPath - 1, &identity.deviceId)) ||
                        fail(e.line, "bad device_id " + excerpt(e.value) + " (NAME-YYYY-MM-DD-HH-MM-SS)");
             }},
        });
}

bool MachineIniReader::readAdapters(const Section& section)
{
    facts_->adaptersResult = kAdaptersNoData;
    std::map<uint32_t, std::pair<const Entry*, AdapterRecord>> adapters;
    Section rest{section.name, section.line, {}};
    for (const Entry& entry : section.entries) {
        if (entry.key.compare(0, 8, "adapter.") != 0) {
            rest.entries.push_back(entry);
            continue;
        }
        std::size_t dot = entry.key.find('.', 8);
        uint32_t index = 0;
        if (dot == std::string::npos || !parseIndex(entry.key.substr(8, dot - 8), &index))
            return fail(entry.line, "bad key " + entry.key + " (adapter.N.DETAIL, N counting from 0)");
        auto& slot = adapters[index];
        if (!slot.first)
            slot.first = &entry;
        if (!readAdapterDetail(entry, entry.key.substr(dot + 1), &slot.second))
            return false;
    }
    uint32_t expected = 0;
    for (auto& adapter : adapters) {
        if (adapter.first != expected)
            return fail(adapter.second.first->line, "adapter." + std::to_string(adapter.first) +
                                                        " given without adapter." + std::to_string(expected) +
                                                        " (numbers run from 0 without gaps)");
        ++expected;
        facts_->adapters.push_back(std::move(adapter.second.second));
    }
    if (!facts_->adapters.empty())
        facts_->adaptersResult = kAdaptersSuccess;
    return readKeys(rest, {{"enumerate", [&](const Entry& e) {
                                bool fails = false;
                                if (!readOkFail(e, &fails))
                                    return false;
                                if (fails)
                                    facts_->adaptersResult = kAdaptersFailure;
                                return true;
                            }}});
}

bool MachineIniReader::readAdapterDetail(const Entry& entry, const std::string& detail,
                                         AdapterRecord* adapter)
{
    // The platform's records hold texts of these sizes with their NULs.
    constexpr std::size_t kNameBytes = 259, kDescriptionBytes = 131, kAddressBytes = 15;
    auto addressList = [&](const Entry& e, bool withMasks, std::vector<IpAddressPair>* list) {
        for (const std::string& part : split(e.value, ';')) {
            std::string item = IniFile::trimmed(part);
            if (item.empty())
                continue;
            std::size_t slash = withMasks ? item.find('/') : std::string::npos;
            IpAddressPair pair{
                IniFile::trimmed(item.substr(0, slash)),
                slash == std::string::npos ? std::string() : IniFile::trimmed(item.substr(slash + 1))};
            if (pair.address.size() > kAddressBytes || pair.mask.size() > kAddressBytes)
                return fail(e.line, e.key + ": an address or mask is longer than 15 bytes");
            list->push_back(pair);
        }
        return true;
    };
    std::vector<Key> keys = {
        {"name", [&](const Entry& e) { return readText(e, e.value, kNameBytes, &adapter->name); }},
        {"description",
         [&](const Entry& e) { return readText(e, e.value, kDescriptionBytes, &adapter->description); }},
        {"address",
         [&](const Entry& e) {
             std::vector<std::string> bytes =
                 e.value.empty() ? std::vector<std::string>() : split(e.value, '-');
             bool ok = bytes.size() <= kAdapterAddressLength;
             for (std::size_t i = 0; ok && i < bytes.size(); ++i) {
                 uint32_t value = 0;
                 ok = bytes[i].size() == 2 && parseHex32(bytes[i], &value);
                 adapter->address[i] = static_cast<uint8_t>(value);
             }
             if (!ok)
                 return fail(
                     e.line,
                     e.key + " needs at most 8 hexadecimal bytes separated by -, as 00-0C-29-3A-4B-5C");
             adapter->addressLength = static_cast<uint32_t>(bytes.size());
             return true;
         }},
        {"index", [&](const Entry& e) { return readU32(e, &adapter->index); }},
        {"type", [&](const Entry& e) { return readU32(e, &adapter->type); }},
        {"dhcp", [&](const Entry& e) { return readYesNo(e, &adapter->dhcpEnabled); }},
        {"dhcp_server",
         [&](const Entry& e) { return readText(e, e.value, kAddressBytes, &adapter->dhcpServer); }},
        {"ip", [&](const Entry& e) { return addressList(e, true, &adapter->addresses); }},
        {"gateway", [&](const Entry& e) { return addressList(e, false, &adapter->gateways); }},
    };
    return readDetailKey(entry, detail, keys, "adapters");
}

bool MachineIniReader::readFirmware(const Section& section)
{
    Numbered lines;
    if (!readOnlyNumbered(section, "smbios", &lines))
        return false;
    for (const auto& line : lines) {
        for (const std::string& byteText : words(line.second->value)) {
            uint32_t value = 0;
            if (byteText.size() != 2 || !parseHex32(byteText, &value))
                return fail(line.second->line, line.second->key +
                                                   " needs hexadecimal bytes of two digits "
                                                   "separated by blanks, not " +
                                                   excerpt(byteText));
            facts_->smbiosTable.push_back(static_cast<uint8_t>(value));
        }
    }
    return true;
}

bool MachineIniReader::readDetailKey(const Entry& entry, const std::string& detail,
                                     const std::vector<Key>& keys, const char* section)
{
    for (const Key& key : keys) {
        if (detail == key.name)
            return key.read(entry);
    }
    return fail(entry.line, "unknown key " + entry.key + " in [" + section + "]");
}

bool MachineIniReader::readKeys(const Section& section, const std::vector<Key>& keys)
{
    for (const Entry& entry : section.entries) {
        auto key = std::find_if(keys.begin(), keys.end(), [&](const Key& k) { return entry.key == k.name; });
        if (key == keys.end())
            return unknownKey(section, entry);
        if (!key->read(entry))
            return false;
    }
    return true;
}

bool MachineIniReader::collectNumbered(const Entry& entry, const std::string& prefix, Numbered* numbered,
                                       bool* matched)
{
    if (entry.key.compare(0, prefix.size() + 1, prefix + ".") != 0)
        return true;
    *matched = true;
    uint32_t index = 0;
    if (!parseIndex(entry.key.substr(prefix.size() + 1), &index))
        return fail(entry.line, "bad number in " + entry.key + " (" + prefix + ".N counts from 0)");
    (*numbered)[index] = &entry;
    return true;
}

bool MachineIniReader::readOnlyNumbered(const Section& section, const std::string& prefix, Numbered* numbered)
{
    for (const Entry& entry : section.entries) {
        bool matched = false;
        if (!collectNumbered(entry, prefix, numbered, &matched))
            return false;
        if (!matched)
            return unknownKey(section, entry);
    }
    return checkNoGaps(*numbered, prefix);
}

bool MachineIniReader::checkNoGaps(const Numbered& numbered, const std::string& prefix)
{
    uint32_t expected = 0;
    for (const auto& entry : numbered) {
        if (entry.first != expected)
            return fail(entry.second->line, entry.second->key + " given without " + prefix + "." +
                                                std::to_string(expected) +
                                                " (numbers run from 0 without gaps)");
        ++expected;
    }
    return true;
}

bool MachineIniReader::readU32(const Entry& entry, uint32_t* out)
{
    uint64_t value = 0;
    if (!parseDecimal(entry.value, std::numeric_limits<uint32_t>::max(), &value))
        return fail(entry.line,
                    "bad number " + excerpt(entry.value) + " for " + entry.key + " (0 to 4294967295)");
    *out = static_cast<uint32_t>(value);
    return true;
}

bool MachineIniReader::readVersionNumbers(const Entry& entry, VersionNumbers* out)
{
    const std::vector<std::string> parts = split(entry.value, '.');
    uint64_t numbers[3] = {};
    bool ok = parts.size() == std::size(numbers);
    for (std::size_t i = 0; ok && i < std::size(numbers); ++i)
        ok = parseDecimal(parts[i], std::numeric_limits<uint32_t>::max(), &numbers[i]);
    if (!ok)
        return fail(entry.line, "bad version " + excerpt(entry.value) + " for " + entry.key +
                                    " (MAJOR.MINOR.BUILD, each 0 to 4294967295)");
    out->major = static_cast<uint32_t>(numbers[0]);
    out->minor = static_cast<uint32_t>(numbers[1]);
    out->build = static_cast<uint32_t>(numbers[2]);
    facts_->hasReportedVersion = true;
    return true;
}

bool MachineIniReader::readU64(const Entry& entry, uint64_t* out)
{
    if (!parseDecimal(entry.value, std::numeric_limits<uint64_t>::max(), out))
        return fail(entry.line,
                    "bad number " + excerpt(entry.value) + " for " + entry.key + " (0 to 2^64-1)");
    return true;
}

bool MachineIniReader::readInt(const Entry& entry, int* out)
{
    bool negative = !entry.value.empty() && entry.value[0] == '-';
    uint64_t limit =
        negative ? uint64_t(std::numeric_limits<int>::max()) + 1 : std::numeric_limits<int>::max();
    uint64_t value = 0;
    if (!parseDecimal(entry.value.substr(negative ? 1 : 0), limit, &value))
        return fail(entry.line,
                    "bad number " + excerpt(entry.value) + " for " + entry.key + " (a signed 32-bit number)");
    *out = negative ? static_cast<int>(-static_cast<int64_t>(value)) : static_cast<int>(value);
    return true;
}

bool MachineIniReader::readYesNo(const Entry& entry, bool* out)
{
    if (entry.value != "yes" && entry.value != "no")
        return fail(entry.line, entry.key + " must be yes or no, not " + excerpt(entry.value));
    *out = entry.value == "yes";
    return true;
}

bool MachineIniReader::readOkFail(const Entry& entry, bool* fails)
{
    if (entry.value != "ok" && entry.value != "fail")
        return fail(entry.line, entry.key + " must be ok or fail, not " + excerpt(entry.value));
    *fails = entry.value == "fail";
    return true;
}

bool MachineIniReader::readTscMhz(const Entry& entry)
{
    std::size_t dot = entry.value.find('.');
    std::string whole = entry.value.substr(0, dot);
    std::string fraction = dot == std::string::npos ? std::string() : entry.value.substr(dot + 1);
    uint64_t wholeValue = 0;
    uint64_t fractionValue = 0;
    bool ok = parseDecimal(whole, 10000000, &wholeValue) && fraction.size() <= 2 &&
              (dot == std::string::npos || parseDecimal(fraction, 99, &fractionValue));
    if (!ok)
        return fail(entry.line, "bad tsc_mhz " + excerpt(entry.value) + " (MHz with at most two decimals)");
    facts_->tscHundredthsOfMhz =
        wholeValue * 100 + (fraction.size() == 1 ? fractionValue * 10 : fractionValue);
    return true;
}

bool MachineIniReader::readText(const Entry& entry, const std::string& utf8, std::size_t maxBytes,
                                std::string* out)
{
    std::u16string wide;
    std::size_t bad = 0;
    unicode::utf8ToUtf16(utf8, &wide, &bad);  // IniFile has checked the encoding
    std::string text = codePage_->fromUtf16(wide);
    if (text.size() > maxBytes)
        return fail(entry.line, entry.key + " is longer than " + std::to_string(maxBytes) + " bytes");
    *out = text;
    return true;
}

bool MachineIniReader::readFileList(const Entry& entry, StartupFolderFacts* folder)
{
    folder->named = true;
    for (const std::string& part : split(entry.value, ';')) {
        std::string name = IniFile::trimmed(part);
        if (name.empty())
            continue;
        std::string text;
        if (!readText(entry, name, kMaxPath - 1, &text))
            return false;
        folder->files.push_back(text);
    }
    return true;
}

bool MachineIniReader::unknownKey(const Section& section, const Entry& entry)
{
    return fail(entry.line, "unknown key " + entry.key + " in [" + section.name + "]");
}

bool MachineIniReader::fail(std::size_t line, const std::string& problem)
{
    error_ = fileName_ + (line ? ", line " + std::to_string(line) : std::string()) + ": " + problem;
    return false;
}

}  // namespace kel
