// One PC's inventory as the inventory formats carry it: the report's own
// figures (so that both say the same) and what tells the PC apart. Every
// text is UTF-8; a fact the platform did not give is empty or absent.
#pragma once

#include "collectors/SmbiosTable.h"
#include "platform/Platform.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kel {

struct InventoryAdapter {
    std::string description;
    std::string macAddress;  // "00:0c:29:3a:4b:5c"
    uint32_t type = 0;       // the interface type of the IP helper
    bool dhcp = false;
    std::string dhcpServer;
    std::vector<IpAddressPair> addresses;
    std::vector<std::string> gateways;
    // From the tied device record; deviceInstance is empty when none is tied.
    std::string deviceInstance;
    std::string manufacturer;
};

struct InventoryDrive {
    std::string letter;  // "C:"
    std::string type;    // the report's word: "FIXED", "CD-ROM", ...
    std::string fileSystem;
    bool hasSpace = false;
    uint64_t totalMb = 0;
    uint64_t freeMb = 0;
};

struct InventoryDisplay {
    std::string name;
    int memoryMb = 0;
};

struct InventoryProgram {
    std::string name;
    std::string version;
    std::string publisher;
    std::string installDate;  // "YYYY-MM-DD", empty when the entry's is not a date
    unsigned bits = 0;
    bool perUser = false;
    bool hidden = false;
};

struct Inventory {
    std::string deviceId;

    std::string computerName;
    std::string userName;
    std::string joinName;
    JoinStatus joinStatus = JoinStatus::Unknown;

    std::string osName;     // "Windows 11", without the maker
    std::string osVersion;  // the true "MAJOR.MINOR.BUILD"
    std::string servicePack;
    bool windows64 = false;

    std::string cpuName;
    uint32_t cpuMhz = 0;
    uint32_t cpuCount = 0;
    uint64_t memoryMb = 0;  // 0: not known

    SmbiosFacts firmware;

    std::vector<InventoryDisplay> displays;
    std::string sound;
    std::vector<InventoryAdapter> adapters;
    std::vector<InventoryDrive> drives;
    std::vector<std::string> printers;
    std::vector<InventoryProgram> programs;
};

// Takes the inventory of the platform in force, with the collector set the
// report fills; deviceId is carried as given. Raises std::bad_alloc when
// memory runs out, with everything gathered freed.
Inventory takeInventory(const std::string& deviceId);

// The parsers of the report's lines, exposed for tests. Each leaves the
// figures alone when the line is not of its shape.
void parseCpuLine(const std::string& line, Inventory* inventory);
void parseMemoryLine(const std::string& line, Inventory* inventory);
bool parseDriveLine(const std::string& line, InventoryDrive* drive);
// "YYYYMMDD" (the uninstall entries' form) as "YYYY-MM-DD"; empty otherwise.
std::string isoDate(const std::string& yyyymmdd);

}  // namespace kel
