#include "tools/bench/GeneratedMachine.h"

#include <cstdio>
#include <iterator>

namespace kel::bench {

namespace {

struct BenchClass {
    const char* guid;
    const char* name;
};

// Nine classes of the walk's table and one it drops.
const BenchClass kClasses[] = {
    {"{4D36E968-E325-11CE-BFC1-08002BE10318}", "Display"},
    {"{4D36E96C-E325-11CE-BFC1-08002BE10318}", "MEDIA"},
    {"{4D36E972-E325-11CE-BFC1-08002BE10318}", "Net"},
    {"{4D36E97D-E325-11CE-BFC1-08002BE10318}", "System"},
    {"{4D36E96B-E325-11CE-BFC1-08002BE10318}", "Keyboard"},
    {"{4D36E96F-E325-11CE-BFC1-08002BE10318}", "Mouse"},
    {"{4D36E967-E325-11CE-BFC1-08002BE10318}", "DiskDrive"},
    {"{36FC9E60-C465-11CF-8056-444553540000}", "USB"},
    {"{4D36E978-E325-11CE-BFC1-08002BE10318}", "Ports"},
    {"{745A17A0-74D3-11D0-B6FE-00A0C90F57DA}", "HIDClass"},
};
constexpr int kClassCount = static_cast<int>(std::size(kClasses));

const char kEnum[] = "SYSTEM\\CurrentControlSet\\Enum\\";
const char kClass[] = "SYSTEM\\CurrentControlSet\\Control\\Class\\";
const char kServices[] = "SYSTEM\\CurrentControlSet\\Services\\";
const char kUninstall[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
constexpr int kDevicesPerEnumerator = 5;
constexpr int kInstancesPerDevice = 5;

GeneratedValue text(const char* name, const std::string& value) { return GeneratedValue{name, 1, value}; }

GeneratedValue number(const char* name, uint32_t value)
{
    return GeneratedValue{name, 4, std::string(), value};
}

std::string format(const char* pattern, int a, int b = 0, int c = 0)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, pattern, a, b, c);
    return buffer;
}

void appendUtf16(std::string& out, const std::string& ascii)
{
    for (char c : ascii) {
        out += c;
        out += '\0';
    }
}

void appendHex(std::string& line, const std::string& bytes)
{
    static const char digits[] = "0123456789abcdef";
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (i > 0)
            line += ',';
        const unsigned char b = static_cast<unsigned char>(bytes[i]);
        line += digits[b >> 4];
        line += digits[b & 15];
    }
}

std::string escaped(const std::string& text)
{
    std::string out;
    for (char c : text) {
        if (c == '\\' || c == '"')
            out += '\\';
        out += c;
    }
    return out;
}

}  // namespace

GeneratedMachine::GeneratedMachine(int deviceKeys, int programs)
    : enumerators_((deviceKeys + kInstancesPerEnumerator - 1) / kInstancesPerEnumerator), programs_(programs)
{
}

void GeneratedMachine::forEachKey(const std::function<void(const GeneratedKey&)>& emit) const
{
    emitDevices(emit);
    emitPrograms(emit);
}

void GeneratedMachine::emitDevices(const std::function<void(const GeneratedKey&)>& emit) const
{
    for (const BenchClass& c : kClasses)
        emit({std::string(kClass) + c.guid,
              {text("", std::string(c.name) + " devices"), text("Class", c.name), text("Icon", "-1")}});
    int instance = 0;
    for (int e = 0; e < enumerators_; ++e) {
        const std::string enumerator = format("BUS%03d", e);
        emit({kServices + enumerator,
              {text("DisplayName", format("Bus %d Enumerator", e)), text("Group", "Boot Bus Extender"),
               number("Type", 1)}});
        for (int d = 0; d < kDevicesPerEnumerator; ++d) {
            const std::string device = format("VEN_%04X&DEV_%04X", 0x1000 + e, d);
            const std::string service = format("svc%03d_%02d", e, d);
            emit({kServices + service,
                  {text("DisplayName", "Service " + service), text("Group", "Extended base"),
                   number("Type", 1)}});
            for (int i = 0; i < kInstancesPerDevice; ++i, ++instance) {
                const BenchClass& c = kClasses[instance % kClassCount];
                const std::string driver = std::string(c.guid) + format("\\%04d", instance);
                std::string hardwareIds = enumerator + "\\" + device;
                hardwareIds += '\0';
                hardwareIds += enumerator + "\\" + format("DEV_%04X", d);
                std::vector<GeneratedValue> values = {
                    text("ClassGUID", c.guid), text("DeviceDesc", format("Generated device %d", instance)),
                    text("Mfg", "Generated"),  text("Service", service),
                    text("Driver", driver),    GeneratedValue{"HardwareID", 7, hardwareIds},
                };
                if (i % 2 == 0)
                    values.push_back(text("LocationInformation", format("Bus %d, slot %d", e, d)));
                emit({kEnum + enumerator + "\\" + device + "\\" + format("%d", i), values});
                emit({kClass + driver,
                      {text("DriverDate", "1-1-2003"), text("DriverVersion", "5.1.2600.0"),
                       text("ProviderName", "Generated")}});
            }
        }
    }
}

// Installers name their entries by product code or by product name; one in
// ten is an update without a display name of its own, which the list skips.
void GeneratedMachine::emitPrograms(const std::function<void(const GeneratedKey&)>& emit) const
{
    for (int p = 0; p < programs_; ++p) {
        const std::string name = p % 2 == 0 ? format("{%08X-4B1D-4C2A-9E0F-%06X000000}", 0x10000000 + p, p)
                                            : format("Generated Program %d", p);
        const std::string folder = format("C:\\Program Files\\Generated\\Program %d", p);
        std::vector<GeneratedValue> values = {
            text("UninstallString", folder + "\\uninstall.exe"),
            text("InstallLocation", folder),
            text("Publisher", format("Generated Software %d", p % 97)),
            text("DisplayVersion", format("%d.%d.%d", p % 10, p % 7, p)),
            number("EstimatedSize", static_cast<uint32_t>(1024 + p)),
        };
        if (p % 10 != 9)
            values.push_back(text("DisplayName", format("Generated Program %d", p)));
        emit({kUninstall + name, values});
    }
}

std::string GeneratedMachine::regText(bool withHeader) const
{
    std::string reg = withHeader ? "Windows Registry Editor Version 5.00\n\n" : "";
    forEachKey([&](const GeneratedKey& key) {
        reg += "[HKEY_LOCAL_MACHINE\\" + key.path + "]\n";
        for (const GeneratedValue& v : key.values) {
            reg += v.name.empty() ? "@" : "\"" + escaped(v.name) + "\"";
            if (v.type == 1) {
                reg += "=\"" + escaped(v.text) + "\"\n";
            } else if (v.type == 4) {
                reg += format("=dword:%08x\n", static_cast<int>(v.number));
            } else {
                std::string bytes;
                std::size_t start = 0;
                for (std::size_t end; (end = v.text.find('\0', start)) != std::string::npos;
                     start = end + 1) {
                    appendUtf16(bytes, v.text.substr(start, end - start));
                    bytes.append(2, '\0');
                }
                appendUtf16(bytes, v.text.substr(start));
                bytes.append(4, '\0');
                reg += "=hex(7):";
                appendHex(reg, bytes);
                reg += "\n";
            }
        }
        reg += "\n";
    });
    return reg;
}

}  // namespace kel::bench
