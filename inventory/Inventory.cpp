#include "inventory/Inventory.h"

#include "collectors/AdapterInfo.h"
#include "collectors/FirmwareInfo.h"
#include "collectors/IdentityInfo.h"
#include "collectors/ProgramList.h"
#include "inventory/OsName.h"
#include "inventory/Utf8.h"
#include "report/Accessors.h"
#include "report/CollectorSet.h"

#include <cstdlib>
#include <new>

namespace kel {

namespace {

constexpr int kBufferSize = 1024;  // the report's own buffer

bool allDigits(const std::string& text)
{
    return !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
}

uint64_t number(const std::string& digits) { return std::strtoull(digits.c_str(), nullptr, 10); }

// The text a report query writes, empty when it writes nothing.
std::string queried(int (*query)(char*, int))
{
    char buffer[kBufferSize] = {};
    query(buffer, kBufferSize);
    return buffer;
}

std::string describedEntry(int (*describe)(int, char*, int), int index)
{
    char buffer[kBufferSize] = {};
    return describe(index, buffer, kBufferSize) > 0 ? std::string(buffer) : std::string();
}

void readOperatingSystem(const std::string& osLine, Inventory* inventory)
{
    Platform& p = platform();
    VersionRecord record;
    record.infoSize = kVersionRecordExSize;
    bool haveRecord = p.getVersion(&record);
    if (!haveRecord) {
        record = VersionRecord();
        record.infoSize = kVersionRecordSize;
        haveRecord = p.getVersion(&record);
    }
    record.csdVersion[sizeof record.csdVersion - 1] = '\0';
    uint32_t major = record.majorVersion, minor = record.minorVersion, build = record.buildNumber;
    if (haveRecord && record.platformId == kWindowsNT)
        p.getTrueVersion(&major, &minor, &build);
    if (haveRecord) {
        // The 95 family keeps its version in the build number's high word.
        const uint32_t shownBuild = record.platformId == kWindowsNT ? build : build & 0xFFFF;
        inventory->osVersion =
            std::to_string(major) + "." + std::to_string(minor) + "." + std::to_string(shownBuild);
        inventory->servicePack = ansiToUtf8(record.csdVersion);
    }
    std::string name = major >= 6 && record.platformId == kWindowsNT
                           ? modernWindowsName(major, minor, build, record.productType)
                           : reportOsName(osLine);
    inventory->osName = ansiToUtf8(name);
    inventory->windows64 = p.isWindows64();
}

void readIdentity(Inventory* inventory)
{
    IdentityInfo identity;
    identity.setIdentityInfo();
    inventory->computerName = ansiToUtf8(identity.computerName());
    inventory->userName = ansiToUtf8(identity.userName());
    inventory->joinName = ansiToUtf8(identity.joinName());
    inventory->joinStatus = identity.joinStatus();
}

void readAdapters(bool isNT, const DeviceClassList* classLists, Inventory* inventory)
{
    AdapterInfo adapters;
    adapters.setAdapterInfo(isNT, classLists);
    for (const NetworkAdapter& found : adapters.adapters()) {
        InventoryAdapter adapter;
        adapter.description = ansiToUtf8(found.record.description);
        adapter.macAddress = hardwareAddress(found.record);
        adapter.type = found.record.type;
        adapter.dhcp = found.record.dhcpEnabled;
        adapter.dhcpServer = ansiToUtf8(found.record.dhcpServer);
        for (const IpAddressPair& pair : found.record.addresses)
            adapter.addresses.push_back(IpAddressPair{ansiToUtf8(pair.address), ansiToUtf8(pair.mask)});
        for (const IpAddressPair& gateway : found.record.gateways)
            adapter.gateways.push_back(ansiToUtf8(gateway.address));
        adapter.deviceInstance = ansiToUtf8(found.deviceInstance);
        adapter.manufacturer = ansiToUtf8(found.manufacturer);
        inventory->adapters.push_back(std::move(adapter));
    }
}

void readFirmware(Inventory* inventory)
{
    FirmwareInfo firmware;
    firmware.setFirmwareInfo();
    const SmbiosFacts& facts = firmware.facts();
    SmbiosFacts& out = inventory->firmware;
    out.biosVendor = ansiToUtf8(facts.biosVendor);
    out.biosVersion = ansiToUtf8(facts.biosVersion);
    out.biosDate = ansiToUtf8(facts.biosDate);
    out.manufacturer = ansiToUtf8(facts.manufacturer);
    out.product = ansiToUtf8(facts.product);
    out.serialNumber = ansiToUtf8(facts.serialNumber);
    out.uuid = facts.uuid;
}

void readPrograms(Inventory* inventory)
{
    ProgramList list;
    list.setProgramList();
    for (const Program& found : list.programs()) {
        InventoryProgram program;
        program.name = ansiToUtf8(found.name);
        program.version = ansiToUtf8(found.version);
        program.publisher = ansiToUtf8(found.publisher);
        program.installDate = isoDate(found.installDate);
        program.bits = found.bits;
        program.perUser = found.perUser;
        program.hidden = found.hidden;
        inventory->programs.push_back(std::move(program));
    }
}

// The report's own sections, as it prints them.
void readReportSections(Inventory* inventory)
{
    parseCpuLine(ansiToUtf8(queried(queryCpuInfo)), inventory);
    parseMemoryLine(ansiToUtf8(queried(queryMemoryInfo)), inventory);
    for (int i = 0, n = queryVgaListCount(); i < n; ++i)
        inventory->displays.push_back(
            InventoryDisplay{ansiToUtf8(describedEntry(queryVgaDescription, i)), queryVgaMemorySize(i)});
    inventory->sound = ansiToUtf8(queried(queryMediaInfo));
    for (int i = 0, n = queryDiskListCount(); i < n; ++i) {
        InventoryDrive drive;
        if (parseDriveLine(ansiToUtf8(describedEntry(queryDiskDescription, i)), &drive))
            inventory->drives.push_back(std::move(drive));
    }
    for (int i = 0, n = queryPrinterListCount(); i < n; ++i)
        inventory->printers.push_back(ansiToUtf8(describedEntry(queryPrinterDescription, i)));
}

void fill(Inventory* inventory)
{
    createCollectorSet();
    CollectorSlots& slots = collectorSlots();
    const bool isNT = slots.os && slots.os->getOSType() != 0;
    readOperatingSystem(queried(queryOSInfo), inventory);
    readReportSections(inventory);
    readIdentity(inventory);
    readAdapters(isNT, slots.devices ? slots.devices->getSystemDeviceInfo() : nullptr, inventory);
    readFirmware(inventory);
    readPrograms(inventory);
}

}  // namespace

Inventory takeInventory(const std::string& deviceId)
{
    Inventory inventory;
    inventory.deviceId = deviceId;
    try {
        fill(&inventory);
    } catch (const std::bad_alloc&) {
        destroyCollectorSet();
        throw;
    }
    destroyCollectorSet();
    return inventory;
}

void parseCpuLine(const std::string& line, Inventory* inventory)
{
    // "NAME 500Mhz (1CPUs)"
    inventory->cpuName = line;
    const std::string countEnd = "CPUs)";
    std::size_t open = line.rfind(" (");
    if (open == std::string::npos || line.size() < countEnd.size() ||
        line.compare(line.size() - countEnd.size(), countEnd.size(), countEnd) != 0)
        return;
    std::string count = line.substr(open + 2, line.size() - countEnd.size() - open - 2);
    std::size_t blank = open == 0 ? std::string::npos : line.rfind(' ', open - 1);
    std::string speed =
        blank == std::string::npos ? line.substr(0, open) : line.substr(blank + 1, open - blank - 1);
    const std::string mhz = "Mhz";
    if (!allDigits(count) || speed.size() <= mhz.size() ||
        speed.compare(speed.size() - mhz.size(), mhz.size(), mhz) != 0 ||
        !allDigits(speed.substr(0, speed.size() - mhz.size())) || count.size() > 9 || speed.size() > 12)
        return;
    inventory->cpuCount = static_cast<uint32_t>(number(count));
    inventory->cpuMhz = static_cast<uint32_t>(number(speed.substr(0, speed.size() - mhz.size())));
    inventory->cpuName = blank == std::string::npos ? std::string() : line.substr(0, blank);
}

void parseMemoryLine(const std::string& line, Inventory* inventory)
{
    const std::string mb = "MB";
    if (line.size() > mb.size() && line.size() <= 20 &&
        line.compare(line.size() - mb.size(), mb.size(), mb) == 0 &&
        allDigits(line.substr(0, line.size() - mb.size())))
        inventory->memoryMb = number(line.substr(0, line.size() - mb.size()));
}

bool parseDriveLine(const std::string& line, InventoryDrive* drive)
{
    // "C:\(FIXED, NTFS, 20002MB/7168MB)" or "A:\(REMOVABLE)"
    std::size_t open = line.find('(');
    if (open == std::string::npos || line.empty() || line.back() != ')' || open < 2)
        return false;
    drive->letter = line.substr(0, 2);
    std::string inside = line.substr(open + 1, line.size() - open - 2);
    std::size_t firstComma = inside.find(", ");
    std::size_t lastComma = inside.rfind(", ");
    drive->type = inside.substr(0, firstComma);
    if (firstComma == std::string::npos || lastComma == firstComma)
        return true;
    drive->fileSystem = inside.substr(firstComma + 2, lastComma - firstComma - 2);
    std::string sizes = inside.substr(lastComma + 2);
    std::size_t slash = sizes.find("MB/");
    if (slash == std::string::npos || sizes.size() < slash + 5 ||
        sizes.compare(sizes.size() - 2, 2, "MB") != 0)
        return true;
    std::string total = sizes.substr(0, slash), free = sizes.substr(slash + 3, sizes.size() - slash - 5);
    if (allDigits(total) && allDigits(free) && total.size() < 16 && free.size() < 16) {
        drive->hasSpace = true;
        drive->totalMb = number(total);
        drive->freeMb = number(free);
    }
    return true;
}

std::string isoDate(const std::string& yyyymmdd)
{
    if (yyyymmdd.size() != 8 || !allDigits(yyyymmdd))
        return std::string();
    const unsigned month = static_cast<unsigned>(number(yyyymmdd.substr(4, 2)));
    const unsigned day = static_cast<unsigned>(number(yyyymmdd.substr(6, 2)));
    if (month < 1 || month > 12 || day < 1 || day > 31)
        return std::string();
    return yyyymmdd.substr(0, 4) + "-" + yyyymmdd.substr(4, 2) + "-" + yyyymmdd.substr(6, 2);
}

}  // namespace kel
