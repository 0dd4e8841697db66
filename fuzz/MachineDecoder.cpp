#include "MachineDecoder.h"

#include <cstdio>

namespace kelfuzz {

namespace {

const char* const kRoots[] = {
    "HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Enum",
    "HKEY_LOCAL_MACHINE\\Enum",
    "HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Class",
    "HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\Class",
    "HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Services\\Class",
    "HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services",
    "HKEY_LOCAL_MACHINE\\HARDWARE\\DESCRIPTION\\System",
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall",
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall",
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\DirectX",
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Direct3D\\Drivers",
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\DirectPlay\\Services",
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\DirectMusic\\SoftwareSynths",
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run",
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnce",
    "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run",
    "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce",
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion",
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion",
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved",
    "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved",
    "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall",
};

// Subkey names the collectors look for or follow from values.
const char* const kSegments[] = {
    "PCI",
    "ROOT",
    "ACPI",
    "USB",
    "BIOS",
    "MONITOR",
    "0000",
    "0001",
    "Device0",
    "INFO",
    "DISPLAY",
    "MEDIA",
    "NET",
    "nv4",
    "VEN_10DE&DEV_0110",
    "4&f3b5d0b&0&0008",
    "{4D36E968-E325-11CE-BFC1-08002BE10318}",
    "{4D36E96C-E325-11CE-BFC1-08002BE10318}",
    "{4D36E972-E325-11CE-BFC1-08002BE10318}",
    "CentralProcessor",
    "AcroRead",
    "RGB Emulation",
    "{58C2B4D0-46E7-11D1-89AC-00A0C9054129}",
    "Run",
    "Run32",
    "StartupFolder",
};

const char* const kValueNames[] = {
    "",
    "Class",
    "ClassGUID",
    "DeviceDesc",
    "FriendlyName",
    "Mfg",
    "Service",
    "LocationInformation",
    "HardwareID",
    "Driver",
    "Icon",
    "DriverDate",
    "DriverVersion",
    "ProviderName",
    "DriverDesc",
    "DisplayName",
    "Group",
    "Type",
    "Version",
    "Description",
    "DacType",
    "ChipType",
    "VideoMemory",
    "VideoBiosDate",
    "VideoBiosVersion",
    "SystemBiosDate",
    "SystemBiosVersion",
    "Identifier",
    "HardwareInformation.DacType",
    "HardwareInformation.ChipType",
    "HardwareInformation.MemorySize",
    "HardwareInformation.AdapterString",
    "HardwareInformation.BiosString",
    "UninstallString",
    "DisplayVersion",
    "Publisher",
    "ParentKeyName",
    "SystemComponent",
    "InstalledVersion",
    "CurrentVersion",
    "CurrentBuildNumber",
    "CSDVersion",
    "ProductName",
    "RegisteredOwner",
    "RegisteredOrganization",
    "VersionNumber",
    "SubVersionNumber",
    "Name",
    "Path",
    "ICQ",
    "NetCfgInstanceId",
    "InstallDate",
};

// Texts that link keys to each other, or look like what drivers write.
const char* const kTexts[] = {
    "Display",
    "Net",
    "MEDIA",
    "System",
    "Unknown",
    "DISPLAY\\0000",
    "MEDIA\\0000",
    "NET\\0000",
    "{4D36E968-E325-11CE-BFC1-08002BE10318}\\0000",
    "{4D36E96C-E325-11CE-BFC1-08002BE10318}\\0001",
    "{4D36E968-E325-11CE-BFC1-08002BE10318}",
    "nv4",
    "emu10k",
    "4.09.00.0904",
    "4.08.00.0400",
    "%s%s%s%n%x",
    "12-31-2003",
    "64 MB",
    "-1",
    "4294967296",
    "\\\\?\\",
    "C:\\PROGRA~1\\X.EXE /y",
    "rundll32.exe shell32.dll,Control_RunDLL",
    "@oem1.inf,%desc%;Name",
    "{7A1F3C2E-5B4D-4E8F-9A6B-1C2D3E4F5A6B}",
    "20231103",
};

// Data sizes around the collectors' buffers.
const uint32_t kSizes[] = {0,   1,   2,   3,   4,   5,   7,   8,   127, 128, 129, 255,  256,
                           257, 258, 259, 260, 261, 262, 511, 512, 513, 520, 521, 1024, 4097};

template <typename T, std::size_t N>
constexpr uint32_t countOf(T (&)[N])
{
    return static_cast<uint32_t>(N);
}

std::string hexBytes(const std::string& bytes)
{
    std::string out;
    char pair[4];
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        std::snprintf(pair, sizeof pair, "%02x", static_cast<uint8_t>(bytes[i]));
        if (i)
            out += (i % 24 == 0) ? ",\\\n  " : ",";
        out += pair;
    }
    return out;
}

std::string utf16(const std::string& text)
{
    std::string out;
    for (char c : text) {
        out += c;
        out += '\0';
    }
    return out;
}

}  // namespace

uint8_t MachineDecoder::byte() { return at_ < size_ ? data_[at_++] : 0; }

uint32_t MachineDecoder::word()
{
    uint32_t value = 0;
    for (int i = 0; i < 4; ++i)
        value = value << 8 | byte();
    return value;
}

uint32_t MachineDecoder::below(uint32_t limit) { return limit ? byte() % limit : 0; }

std::string MachineDecoder::plainText(std::size_t maxLength)
{
    std::size_t length = below(static_cast<uint32_t>(maxLength) + 1);
    std::string text;
    for (std::size_t i = 0; i < length; ++i) {
        // Printable ASCII: the files are UTF-8, and names and lines hold no controls.
        text += static_cast<char>(0x20 + byte() % 0x5F);
    }
    return text;
}

std::string MachineDecoder::keySegment()
{
    if (byte() % 4 != 0)
        return kSegments[below(countOf(kSegments))];
    std::string name;
    for (char c : plainText(40))
        name += (c == '\\' || c == '[' || c == ']' || c == 0x7F) ? '_' : c;
    return name.empty() ? "x" : name;
}

std::string MachineDecoder::keyPath()
{
    std::string path = kRoots[below(countOf(kRoots))];
    for (uint32_t depth = below(5); depth > 0; --depth)
        path += "\\" + keySegment();
    return path;
}

std::string MachineDecoder::tableText() { return kTexts[below(countOf(kTexts))]; }

std::string MachineDecoder::valueData(uint32_t type)
{
    switch (below(6)) {
    case 0: {  // raw bytes of a telling size
        uint32_t length = kSizes[below(countOf(kSizes))];
        std::string bytes;
        for (uint32_t i = 0; i < length; ++i)
            bytes += static_cast<char>(byte());
        return bytes;
    }
    case 1:  // a text with its NUL, as the type would store it
        return (type == 1 || type == 2 || type == 7) ? utf16(tableText()) + std::string(2, '\0')
                                                     : tableText() + '\0';
    case 2:  // a text without its NUL
        return utf16(tableText());
    case 3: {  // a multi-string, with or without its final empty string
        std::string list;
        for (uint32_t n = below(4); n > 0; --n)
            list += utf16(tableText()) + std::string(2, '\0');
        return byte() % 2 ? list + std::string(2, '\0') : list;
    }
    case 4: {  // a long text, filling the buffers to their brim
        std::string text(kSizes[below(countOf(kSizes))], static_cast<char>('A' + below(26)));
        return byte() % 2 ? utf16(text) : text;
    }
    default: {  // a number
        uint32_t value = word();
        return std::string(reinterpret_cast<const char*>(&value), sizeof value);
    }
    }
}

std::string MachineDecoder::valueLine()
{
    std::string name;
    if (byte() % 8 != 0) {
        name = kValueNames[below(countOf(kValueNames))];
    } else {
        for (char c : plainText(20))
            name += (c == '"' || c == '\\') ? '_' : c;
    }
    static const uint32_t kTypes[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 1, 1, 1, 7, 3, 4};
    uint32_t type = byte() % 16 == 0 ? word() : kTypes[below(countOf(kTypes))];
    std::string head = name.empty() ? "@=" : "\"" + name + "\"=";
    char typeText[24];
    std::snprintf(typeText, sizeof typeText, "hex(%x):", type);
    return head + typeText + hexBytes(valueData(type)) + "\n";
}

std::string MachineDecoder::registryBlocks()
{
    std::string text;
    for (uint32_t keys = 0; keys < 48 && !exhausted(); ++keys) {
        text += "\n[" + keyPath() + "]\n";
        for (uint32_t values = below(6); values > 0; --values)
            text += valueLine();
    }
    return text;
}

std::string MachineDecoder::iniText(std::size_t maxLength)
{
    std::string text;
    for (char c : plainText(maxLength))
        text += (c == ';' || c == '"' || c == '=' || c == '[' || c == ' ' || c == 0x7F ||
                 static_cast<uint8_t>(c) >= 0x80)
                    ? '_'
                    : c;
    return text.empty() ? "x" : text;
}

std::string MachineDecoder::versionSection()
{
    static const uint32_t kVersions[][3] = {
        {1, 4, 0}, {1, 4, 10}, {1, 4, 90}, {2, 4, 0}, {2, 5, 0}, {2, 5, 1}, {2, 5, 2}, {2, 6, 0},
    };
    const uint32_t* version = kVersions[below(countOf(kVersions))];
    char text[160];
    std::snprintf(text, sizeof text, "[version]\nplatform = %u\nmajor = %u\nminor = %u\nbuild = %u\n",
                  byte() % 8 == 0 ? below(4) : version[0], version[1], version[2], word());
    return text + std::string("csd = ") + iniText(120) + "\nextended = " + (byte() % 2 ? "yes" : "no") +
           "\nproduct_type = " + std::to_string(below(4)) + "\n\n";
}

std::string MachineDecoder::cpuSection()
{
    static const uint32_t kLeaves[] = {0,           1,           2,           3,
                                       4,           0x80000000u, 0x80000001u, 0x80000002u,
                                       0x80000003u, 0x80000004u, 0x80000005u, 0x80000006u};
    std::string text = "[cpu]\n";
    char line[120];
    for (uint32_t leaf : kLeaves) {
        if (byte() % 3 == 0)
            continue;
        std::snprintf(line, sizeof line, "leaf.%x = %08x %08x %08x %08x\n", leaf, word(), word(), word(),
                      word());
        text += line;
    }
    std::snprintf(line, sizeof line, "qpc_frequency = %u\ntsc_mhz = %u.%02u\n", word(), word() % 100000,
                  below(100));
    text += line;
    if (byte() % 4 == 0)
        text += "cpuid = no\n";
    return text + "\n";
}

std::string MachineDecoder::mediaSection()
{
    static const char* const kFamilies[] = {"wave_out", "wave_in", "midi_out", "midi_in", "aux", "mixer"};
    std::string text = "[media]\n";
    char line[64];
    for (const char* family : kFamilies) {
        for (uint32_t device = 0, count = below(3); device < count; ++device) {
            std::snprintf(line, sizeof line, "%s.%u = 0x%04X ", family, device, word() & 0xFFFF);
            text += line + iniText(24) + "\n";
        }
    }
    return text + "\n";
}

std::string MachineDecoder::drivesSection()
{
    std::string text = "[drives]\n";
    char line[160];
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        uint8_t type = byte();
        if (type % 4 != 0)
            continue;
        std::snprintf(line, sizeof line, "drive.%c = %u\n", letter, type / 4 % 8);
        text += line;
        if (byte() % 2)
            continue;
        uint64_t total = static_cast<uint64_t>(word()) << below(24);
        uint64_t free = total ? (static_cast<uint64_t>(word()) << below(24)) % (total + 1) : 0;
        std::snprintf(line, sizeof line,
                      "drive.%c.total_bytes = %llu\ndrive.%c.free_bytes = %llu\n"
                      "drive.%c.caller_free_bytes = %llu\ndrive.%c.serial = %08X\n",
                      letter, static_cast<unsigned long long>(total), letter,
                      static_cast<unsigned long long>(free), letter, static_cast<unsigned long long>(free),
                      letter, word());
        text += line;
        text += std::string("drive.") + letter + ".label = " + iniText(32) + "\n";
        text += std::string("drive.") + letter + ".file_system = " + iniText(16) + "\n";
    }
    return text + "\n";
}

std::string MachineDecoder::printersSection()
{
    std::string text = "[printers]\n";
    for (uint32_t printer = 0, count = below(4); printer < count; ++printer)
        text += "printer." + std::to_string(printer) + " = " + iniText(120) + "\n";
    if (byte() % 8 == 0)
        text += "enumerate = fail\n";
    return text + "\n";
}

std::string MachineDecoder::shellSection()
{
    std::string text = "[shell]\n";
    for (const char* list : {"startup_user", "startup_common"}) {
        std::string files;
        for (uint32_t file = 0, count = below(4); file < count; ++file)
            files += (file ? "; " : "") + iniText(60) + (byte() % 2 ? ".lnk" : "");
        if (!files.empty())
            text += std::string(list) + " = " + files + "\n";
    }
    return text + "\n";
}

// Devices no longer attached: instance paths of the kind the device walk
// finds below the enumeration root.
std::string MachineDecoder::devicesSection()
{
    std::string text = "[devices]\n";
    for (uint32_t device = 0, count = below(4); device < count; ++device) {
        std::string id = kSegments[below(countOf(kSegments))];
        for (uint32_t depth = below(3); depth > 0; --depth)
            id += "\\" + std::string(kSegments[below(countOf(kSegments))]);
        text += "absent." + std::to_string(device) + " = " + id + "\n";
    }
    return text + "\n";
}

std::string MachineDecoder::machineIni()
{
    static const uint32_t kCodePages[] = {1252, 949, 932, 1251};
    std::string system = "[system]\ncodepage = " + std::to_string(kCodePages[below(countOf(kCodePages))]) +
                         "\nprocessors = " + std::to_string(1 + below(4)) + "\n";
    std::string sections = versionSection() + cpuSection();
    std::string media = mediaSection();
    std::string rest = drivesSection() + printersSection() + shellSection();
    // Keys added since are read from the bytes after all of these, so that
    // the corpus keeps decoding to the machines it was made for.
    if (byte() % 2)
        system += "active_processors = " + std::to_string(below(80)) + "\n";
    if (byte() % 2)
        media += "default_render = " + iniText(60) + "\n";
    return system + "\n" + sections + media + "\n" + rest + devicesSection() + identitySection() + adaptersSection() +
           firmwareSection();
}

std::string MachineDecoder::identitySection()
{
    static const char* const kKinds[] = {"workgroup", "domain", "unjoined", "unknown"};
    std::string text = "[identity]\n";
    // Names past the platform's own limits too.
    if (byte() % 4 != 0)
        text += "computer_name = " + iniText(byte() % 2 ? 15 : 120) + "\n";
    if (byte() % 4 != 0)
        text += "user_name = " + iniText(byte() % 2 ? 20 : 250) + "\n";
    if (byte() % 2)
        text += "domain = " + iniText(40) + "\ndomain_kind = " + kKinds[below(countOf(kKinds))] + "\n";
    if (byte() % 2)
        text += "device_id = " + iniText(30) + "-2024-01-15-10-30-00\n";
    return text + "\n";
}

std::string MachineDecoder::adaptersSection()
{
    if (byte() % 4 == 0)
        return std::string();
    std::string text = "[adapters]\n";
    char line[64];
    for (uint32_t adapter = 0, count = below(byte() % 8 == 0 ? 40 : 4); adapter < count; ++adapter) {
        const std::string key = "adapter." + std::to_string(adapter) + ".";
        text += key + "name = " + (byte() % 2 ? tableText() : iniText(60)) + "\n";
        text += key + "description = " + iniText(131) + "\n";
        std::string address;
        for (uint32_t i = 0, length = below(9); i < length; ++i) {
            std::snprintf(line, sizeof line, i ? "-%02X" : "%02X", byte());
            address += line;
        }
        text += key + "address = " + address + "\n";
        std::snprintf(line, sizeof line, "type = %u\n", byte() % 2 ? 6u : word());
        text += key + line + key + (byte() % 2 ? "dhcp = yes\n" : "dhcp = no\n");
        std::string ips;
        for (uint32_t i = 0, n = below(byte() % 8 == 0 ? 30 : 3); i < n; ++i) {
            std::snprintf(line, sizeof line, "%s%u.%u.%u.%u/%u.%u.%u.%u", i ? "; " : "", byte(), byte(),
                          byte(), byte(), byte(), byte(), byte(), byte());
            ips += byte() % 8 == 0 ? (i ? "; " : "") + iniText(15) : std::string(line);
        }
        text += key + "ip = " + ips + "\n";
        std::snprintf(line, sizeof line, "%u.%u.%u.%u", byte(), byte(), byte(), byte());
        text += key + "gateway = " + line + "\n" + key + "dhcp_server = " + line + "\n";
    }
    if (byte() % 8 == 0)
        text += "enumerate = fail\n";
    return text + "\n";
}

// A raw table of some structures, their lengths and string numbers from the
// input: well formed, truncated, with lengths past the end, strings without
// their NULs and lengths in the header that disagree with the bytes.
std::string MachineDecoder::smbiosTable()
{
    std::string structures;
    for (uint32_t n = below(5); n > 0; --n) {
        const uint8_t type = byte() % 3 == 0 ? byte() : below(2);
        const uint8_t length = byte() % 4 == 0 ? byte() : (type ? 0x1B : 0x18);
        structures += static_cast<char>(type);
        structures += static_cast<char>(length);
        for (uint32_t i = 2; i < length; ++i)
            structures += static_cast<char>(byte() % 2 ? below(6) : byte());
        for (uint32_t strings = below(5); strings > 0; --strings)
            structures += iniText(24) + (byte() % 8 ? std::string(1, '\0') : std::string());
        if (byte() % 8)
            structures += std::string(2, '\0');
    }
    if (byte() % 4 == 0)
        structures.resize(below(static_cast<uint32_t>(structures.size()) + 1));
    const uint32_t length = byte() % 4 == 0 ? word() : static_cast<uint32_t>(structures.size());
    std::string table = {0, static_cast<char>(below(4)), static_cast<char>(below(9)), 0};
    for (int i = 0; i < 4; ++i)
        table += static_cast<char>(length >> (8 * i));
    return table + structures;
}

std::string MachineDecoder::firmwareSection()
{
    if (byte() % 4 == 0)
        return std::string();
    const std::string table = smbiosTable();
    std::string text = "[firmware]\n";
    char hex[4];
    for (std::size_t i = 0; i < table.size(); ++i) {
        if (i % 24 == 0)
            text += (i ? "\n" : "") + std::string("smbios.") + std::to_string(i / 24) + " =";
        std::snprintf(hex, sizeof hex, " %02X", static_cast<uint8_t>(table[i]));
        text += hex;
    }
    return text + "\n\n";
}

}  // namespace kelfuzz
