// Every registry value the collectors read, broken in the ways third-party
// installers break them: the wrong type, no data, 259/260/261 bytes, no
// terminating NUL, a multi-string without its final empty string. Each case
// is a sample machine with one value overwritten; the report must come back
// whole, and where the reading is determined it must equal the report of the
// well-formed value the broken one amounts to.

#include "MachineUnderTest.h"

#include <cctype>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace kel::test {
namespace {

// How a collector takes the value: as 8-bit text into a buffer of the given
// size, or as bytes it interprets itself (numbers, UTF-16, lists).
enum class Reading { Text, Bytes };

struct ValueUnderTest {
    const char* machine;
    const char* key;
    const char* name;  // "" for the key's default value
    Reading reading;
    std::size_t buffer;
};

const ValueUnderTest kValues[] = {
    // Device tree of NT and the class, driver and service keys it leads to.
    {"xp-desktop",
     "HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Enum\\PCI\\VEN_10DE&DEV_0110&SUBSYS_00000000&REV_B2\\4&"
     "f3b5d0b&0&0008",
     "Class", Reading::Text, 260},
    {"xp-desktop",
     "HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Enum\\PCI\\VEN_10DE&DEV_0110&SUBSYS_00000000&REV_B2\\4&"
     "f3b5d0b&0&0008",
     "ClassGUID", Reading::Text, 260},
    {"xp-desktop",
     "HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Enum\\PCI\\VEN_10DE&DEV_0110&SUBSYS_00000000&REV_B2\\4&"
     "f3b5d0b&0&0008",
     "DeviceDesc", Reading::Text, 260},
    {"xp-desktop",
     "HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Enum\\PCI\\VEN_10DE&DEV_0110&SUBSYS_00000000&REV_B2\\4&"
     "f3b5d0b&0&0008",
     "FriendlyName", Reading::Text, 260},
    {"xp-desktop",
     "HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Enum\\PCI\\VEN_10DE&DEV_0110&SUBSYS_00000000&REV_B2\\4&"
     "f3b5d0b&0&0008",
     "Mfg", Reading::Text, 260},
    {"xp-desktop",
     "HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Enum\\PCI\\VEN_10DE&DEV_0110&SUBSYS_00000000&REV_B2\\4&"
     "f3b5d0b&0&0008",
     "Service", Reading::Text, 260},
    {"xp-desktop",
     "HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Enum\\PCI\\VEN_10DE&DEV_0110&SUBSYS_00000000&REV_B2\\4&"
     "f3b5d0b&0&0008",
     "LocationInformation", Reading::Text, 260},
    {"xp-desktop",
     "HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Enum\\PCI\\VEN_10DE&DEV_0110&SUBSYS_00000000&REV_B2\\4&"
     "f3b5d0b&0&0008",
     "HardwareID", Reading::Text, 260},
    {"xp-desktop",
     "HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Enum\\PCI\\VEN_10DE&DEV_0110&SUBSYS_00000000&REV_B2\\4&"
     "f3b5d0b&0&0008",
     "Driver", Reading::Text, 260},
    {"xp-desktop",
     "HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Class\\{4D36E968-E325-11CE-BFC1-08002BE10318}",
     "Class", Reading::Text, 260},
    {"xp-desktop",
     "HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Class\\{4D36E968-E325-11CE-BFC1-08002BE10318}",
     "", Reading::Text, 260},
    {"xp-desktop",
     "HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Class\\{4D36E968-E325-11CE-BFC1-08002BE10318}",
     "Icon", Reading::Text, 260},
    {"xp-desktop",
     "HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Class\\{4D36E968-E325-11CE-BFC1-08002BE10318}"
     "\\0000",
     "DriverDate", Reading::Text, 260},
    {"xp-desktop",
     "HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Class\\{4D36E968-E325-11CE-BFC1-08002BE10318}"
     "\\0000",
     "DriverVersion", Reading::Text, 260},
    {"xp-desktop",
     "HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Class\\{4D36E968-E325-11CE-BFC1-08002BE10318}"
     "\\0000",
     "ProviderName", Reading::Text, 260},
    {"xp-desktop", "HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\nv4", "DisplayName",
     Reading::Text, 260},
    {"xp-desktop", "HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\nv4", "Group", Reading::Text,
     260},
    {"xp-desktop", "HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\nv4", "Type", Reading::Bytes, 4},
    {"xp-desktop", "HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\nv4\\Device0",
     "HardwareInformation.DacType", Reading::Bytes, 255},
    {"xp-desktop", "HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\nv4\\Device0",
     "HardwareInformation.ChipType", Reading::Bytes, 255},
    {"xp-desktop", "HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\nv4\\Device0",
     "HardwareInformation.MemorySize", Reading::Bytes, 255},
    {"xp-desktop", "HKEY_LOCAL_MACHINE\\HARDWARE\\DESCRIPTION\\System", "VideoBiosDate", Reading::Text, 260},
    {"xp-desktop", "HKEY_LOCAL_MACHINE\\HARDWARE\\DESCRIPTION\\System", "VideoBiosVersion", Reading::Bytes,
     260},
    // Programs, DirectX and start-up entries.
    {"xp-desktop", "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\AcroRead",
     "DisplayName", Reading::Text, 260},
    {"xp-desktop", "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\DirectX", "Version", Reading::Text, 260},
    {"xp-desktop", "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Direct3D\\Drivers\\RGB Emulation", "Description",
     Reading::Text, 260},
    {"xp-desktop",
     "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\DirectPlay\\Services\\{0F1D6860-88D9-11CF-9C4E-00A0C905425E}",
     "Description", Reading::Text, 260},
    {"xp-desktop", "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run", "Broken",
     Reading::Text, 260},
    {"xp-desktop", "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnce", "Broken",
     Reading::Text, 260},
    {"xp-desktop", "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run", "Broken",
     Reading::Text, 260},
    {"xp-desktop", "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce", "Broken",
     Reading::Text, 260},
    // The 9x device tree and its class keys.
    {"win98se",
     "HKEY_LOCAL_MACHINE\\Enum\\PCI\\VEN_1002&DEV_4742&SUBSYS_40821002&REV_5C\\BUS_01&DEV_00&FUNC_00",
     "Class", Reading::Text, 260},
    {"win98se",
     "HKEY_LOCAL_MACHINE\\Enum\\PCI\\VEN_1002&DEV_4742&SUBSYS_40821002&REV_5C\\BUS_01&DEV_00&FUNC_00",
     "DeviceDesc", Reading::Text, 260},
    {"win98se",
     "HKEY_LOCAL_MACHINE\\Enum\\PCI\\VEN_1002&DEV_4742&SUBSYS_40821002&REV_5C\\BUS_01&DEV_00&FUNC_00",
     "HardwareID", Reading::Text, 260},
    {"win98se",
     "HKEY_LOCAL_MACHINE\\Enum\\PCI\\VEN_1002&DEV_4742&SUBSYS_40821002&REV_5C\\BUS_01&DEV_00&FUNC_00",
     "Driver", Reading::Text, 260},
    {"win98se",
     "HKEY_LOCAL_MACHINE\\Enum\\PCI\\VEN_1002&DEV_4742&SUBSYS_40821002&REV_5C\\BUS_01&DEV_00&FUNC_00", "Mfg",
     Reading::Text, 260},
    {"win98se", "HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\Class\\DISPLAY", "", Reading::Text,
     260},
    {"win98se", "HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\Class\\DISPLAY", "Icon",
     Reading::Text, 260},
    {"win98se", "HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\Class\\DISPLAY\\0000",
     "DriverVersion", Reading::Text, 260},
    {"win98se", "HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\Class\\DISPLAY\\0000\\INFO",
     "DacType", Reading::Text, 260},
    {"win98se", "HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\Class\\DISPLAY\\0000\\INFO",
     "ChipType", Reading::Text, 260},
    {"win98se", "HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\Class\\DISPLAY\\0000\\INFO",
     "VideoMemory", Reading::Text, 260},
    {"win98se", "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\DirectX", "Version", Reading::Text, 260},
};

std::string fileText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Raw bytes as a .reg value of the given type. REGEDIT4 files hold the types
// of text as 8-bit bytes, version 5 files as UTF-16.
std::string valueLine(const ValueUnderTest& value, uint32_t type, const std::string& bytes, bool utf16File)
{
    std::string data = bytes;
    if (utf16File && (type == 1 || type == 2 || type == 7)) {
        data.clear();
        for (char c : bytes)
            data += std::string(1, c) + '\0';
    }
    std::string line = (*value.name ? "\"" + std::string(value.name) + "\"" : std::string("@")) + "=hex(" +
                       std::to_string(type) + "):";
    static const char kDigits[] = "0123456789abcdef";
    for (std::size_t i = 0; i < data.size(); ++i) {
        auto byte = static_cast<uint8_t>(data[i]);
        line += std::string(i ? "," : "") + kDigits[byte >> 4] + kDigits[byte & 15];
    }
    return line;
}

std::string absentLine(const ValueUnderTest& value)
{
    return (*value.name ? "\"" + std::string(value.name) + "\"" : std::string("@")) + "=-";
}

// The detail report of the sample machine with one line added under the key.
std::string reportWith(const ValueUnderTest& value, const std::string& line)
{
    const std::string dir = sampleMachineDir(value.machine);
    std::string registry = fileText(dir + "/registry.reg") + "\r\n[" + value.key + "]\r\n" + line + "\r\n";
    SCOPED_TRACE(line);
    MachineUnderTest machine(registry, fileText(dir + "/machine.ini"));
    if (!machine)
        return "(machine rejected)";
    return reportOf(*machine, ReportKind::Detail);
}

struct Broken {
    const char* what;
    uint32_t type;
    std::string bytes;
};

std::vector<Broken> brokenForms()
{
    const std::string a258(258, 'A'), a259(259, 'A'), a260(260, 'A');
    return {
        {"binary type", 3, "Text" + std::string(1, '\0')},
        {"number type", 4, std::string("Tex\0", 4)},
        {"unknown type", 0x7777, "Text" + std::string(1, '\0')},
        {"zero length", 1, ""},
        {"259 bytes", 1, a258 + '\0'},
        {"260 bytes", 1, a259 + '\0'},
        {"261 bytes", 1, a260 + '\0'},
        {"260 bytes without NUL", 1, a260},
        {"no terminating NUL", 1, "Text"},
        {"multi-string without its final empty string", 7, std::string("one\0two\0", 8)},
        {"three bytes", 3, "abc"},
    };
}

// Checks every report is whole: all its headings, in order, after the brief lines.
void expectWhole(const std::string& report, const std::string& what)
{
    std::size_t at = 0;
    for (const char* heading : {"OS: ", "\nCPU: ", "\nMemory: ", "\nSound: ", "\nDirectX: ", "\n\nDisks\n",
                                "\n\nPrinters\n", "\n\nSoftwares\n", "\n\nStartup\n"}) {
        at = report.find(heading, at);
        ASSERT_NE(at, std::string::npos) << what << ": no \"" << heading << "\" in order in\n" << report;
    }
}

// What a text read of the broken bytes amounts to: the text up to the first
// NUL, or nothing at all when the bytes do not fit the buffer. Bytes without a
// NUL that fill the buffer exactly have no well-formed twin: empty then.
std::string equivalentLine(const ValueUnderTest& value, const Broken& broken)
{
    if (broken.bytes.size() > value.buffer)
        return absentLine(value);
    const std::size_t nul = broken.bytes.find('\0');
    if (nul == std::string::npos && broken.bytes.size() == value.buffer)
        return "";
    std::string text = broken.bytes.substr(0, nul);
    return (*value.name ? "\"" + std::string(value.name) + "\"" : std::string("@")) + "=\"" + text + "\"";
}

void PrintTo(const ValueUnderTest& value, std::ostream* out)
{
    *out << value.key << " \"" << value.name << "\"";
}

class BrokenValues : public ::testing::TestWithParam<ValueUnderTest> {};

TEST_P(BrokenValues, GiveAWholeReportThatReadsAsTheTextTheBytesHold)
{
    const ValueUnderTest& value = GetParam();
    const bool utf16File = std::string(value.machine) != "win98se";
    for (const Broken& broken : brokenForms()) {
        const std::string what = std::string(value.key) + " \"" + value.name + "\" with " + broken.what;
        const std::string report = reportWith(value, valueLine(value, broken.type, broken.bytes, utf16File));
        expectWhole(report, what);
        // Never a byte past the buffer, whatever the collector makes of it.
        EXPECT_EQ(report.find(std::string(value.buffer + 1, 'A')), std::string::npos) << what;
        const std::string twin = equivalentLine(value, broken);
        if (value.reading == Reading::Text && !twin.empty()) {
            EXPECT_EQ(report, reportWith(value, twin)) << what;
        }
    }
}

// The numbers: fewer than four bytes count as no number at all.
class ShortNumbers : public ::testing::TestWithParam<ValueUnderTest> {};

TEST_P(ShortNumbers, CountAsAbsent)
{
    const ValueUnderTest& value = GetParam();
    for (const char* bytes : {"", "\x01", "\x01\x02", "\x01\x02\x03"}) {
        EXPECT_EQ(reportWith(value, valueLine(value, 3, bytes, true)), reportWith(value, absentLine(value)))
            << value.name << " of " << std::string(bytes).size() << " bytes";
    }
}

const ValueUnderTest kNumbers[] = {
    {"xp-desktop", "HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\nv4", "Type", Reading::Bytes, 4},
    {"xp-desktop", "HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\nv4\\Device0",
     "HardwareInformation.MemorySize", Reading::Bytes, 255},
};

std::string caseName(const ::testing::TestParamInfo<ValueUnderTest>& info)
{
    std::string name = std::to_string(info.index) + "_" + (*info.param.name ? info.param.name : "Default");
    for (char& c : name) {
        if (!std::isalnum(static_cast<unsigned char>(c)))
            c = '_';
    }
    return name;
}

INSTANTIATE_TEST_SUITE_P(EveryValueTheCollectorsRead, BrokenValues, ::testing::ValuesIn(kValues), caseName);
INSTANTIATE_TEST_SUITE_P(NumbersTheCollectorsRead, ShortNumbers, ::testing::ValuesIn(kNumbers), caseName);

}  // namespace
}  // namespace kel::test
