#include "inventory/OcsWriter.h"

#include "inventory/FormatFields.h"

#include <string>

namespace kel {

namespace {

class XmlOut {
public:
    void open(const char* tag)
    {
        indent();
        text_ += std::string("<") + tag + ">\n";
        ++depth_;
    }
    void close(const char* tag)
    {
        --depth_;
        indent();
        text_ += std::string("</") + tag + ">\n";
    }
    // An empty value is a fact the platform did not give: no element.
    void field(const char* tag, const std::string& value)
    {
        if (value.empty())
            return;
        indent();
        text_ += std::string("<") + tag + ">" + xmlText(value) + "</" + tag + ">\n";
    }
    void number(const char* tag, uint64_t value, bool known = true)
    {
        if (known)
            field(tag, std::to_string(value));
    }
    std::string& text() { return text_; }

private:
    void indent() { text_.append(2 * depth_, ' '); }

    std::string text_;
    int depth_ = 0;
};

// The drive types as OCS's Windows agents name them.
std::string driveType(const std::string& reportWord)
{
    static const struct {
        const char* report;
        const char* ocs;
    } kTypes[] = {
        {"FIXED", "Hard Drive"},    {"REMOVABLE", "Removable Drive"},
        {"CD-ROM", "CD-Rom Drive"}, {"NETWORK DRIVE", "Network Drive"},
        {"RAM DISK", "RAM Disk"},
    };
    for (const auto& type : kTypes) {
        if (reportWord == type.report)
            return type.ocs;
    }
    return reportWord;
}

std::string slashedDate(const std::string& isoDate)
{
    std::string date = isoDate;
    for (char& c : date)
        c = c == '-' ? '/' : c;
    return date;
}

void writeHardware(XmlOut& x, const Inventory& inv)
{
    x.open("HARDWARE");
    x.field("NAME", inv.computerName);
    // Which sections changed since the last run, one bit each; the server
    // fails an inventory without it (HTTP 500). Kel keeps no last run, so
    // every section is new.
    x.field("CHECKSUM", "131071");
    x.field("WORKGROUP", inv.joinName);
    x.field("OSNAME", fullOsName(inv));
    x.field("OSVERSION", inv.osVersion);
    x.field("OSCOMMENTS", inv.servicePack);
    x.field("PROCESSORT", inv.cpuName);
    x.number("PROCESSORS", inv.cpuMhz, inv.cpuMhz != 0);
    x.number("PROCESSORN", inv.cpuCount, inv.cpuCount != 0);
    x.number("MEMORY", inv.memoryMb, inv.memoryMb != 0);
    x.field("USERID", inv.userName);
    x.field("UUID", inv.firmware.uuid);
    x.field("ARCH", inv.osVersion.empty() ? std::string() : inv.windows64 ? "x86 64 bit" : "x86 32 bit");
    x.close("HARDWARE");
}

void writeBios(XmlOut& x, const Inventory& inv)
{
    const SmbiosFacts& f = inv.firmware;
    if (f.manufacturer.empty() && f.product.empty() && f.serialNumber.empty() && f.biosVendor.empty() &&
        f.biosVersion.empty() && f.biosDate.empty())
        return;
    x.open("BIOS");
    x.field("SMANUFACTURER", f.manufacturer);
    x.field("SMODEL", f.product);
    x.field("SSN", f.serialNumber);
    x.field("BMANUFACTURER", f.biosVendor);
    x.field("BVERSION", f.biosVersion);
    x.field("BDATE", f.biosDate);
    x.close("BIOS");
}

void writeNetwork(XmlOut& x, const InventoryAdapter& adapter, const IpAddressPair* address)
{
    x.open("NETWORKS");
    x.field("DESCRIPTION", adapter.description);
    const std::string type = interfaceTypeName(adapter.type);
    x.field("TYPE", type == "wifi" ? "Wifi" : type == "ethernet" ? "Ethernet" : type);
    x.field("MACADDR", adapter.macAddress);
    if (address) {
        x.field("IPADDRESS", address->address);
        x.field("IPMASK", address->mask);
        x.field("IPSUBNET", ipSubnet(address->address, address->mask));
    }
    x.field("IPGATEWAY", defaultGateway(adapter));
    x.field("IPDHCP", adapter.dhcp ? adapter.dhcpServer : std::string());
    if (!adapter.deviceInstance.empty())
        x.field("VIRTUALDEV", isVirtualDevice(adapter) ? "1" : "0");
    x.close("NETWORKS");
}

// One element per address, as the agents send them.
void writeNetworks(XmlOut& x, const Inventory& inv)
{
    for (const InventoryAdapter& adapter : inv.adapters) {
        for (const IpAddressPair* address : addressEntries(adapter))
            writeNetwork(x, adapter, address);
    }
}

void writeDevices(XmlOut& x, const Inventory& inv)
{
    x.open("CPUS");
    x.field("TYPE", inv.cpuName);
    x.number("SPEED", inv.cpuMhz, inv.cpuMhz != 0);
    x.number("LOGICAL_CPUS", inv.cpuCount, inv.cpuCount != 0);
    x.close("CPUS");
    for (const InventoryDisplay& display : inv.displays) {
        x.open("VIDEOS");
        x.field("NAME", display.name);
        x.number("MEMORY", static_cast<uint64_t>(display.memoryMb), display.memoryMb > 0);
        x.close("VIDEOS");
    }
    if (!inv.sound.empty()) {
        x.open("SOUNDS");
        x.field("NAME", inv.sound);
        x.close("SOUNDS");
    }
}

void writeDrives(XmlOut& x, const Inventory& inv)
{
    for (const InventoryDrive& drive : inv.drives) {
        x.open("DRIVES");
        x.field("LETTER", drive.letter + "/");
        x.field("TYPE", driveType(drive.type));
        x.field("FILESYSTEM", drive.fileSystem);
        x.number("TOTAL", drive.totalMb, drive.hasSpace);
        x.number("FREE", drive.freeMb, drive.hasSpace);
        x.close("DRIVES");
    }
}

void writeSoftwares(XmlOut& x, const Inventory& inv)
{
    for (const std::string& printer : inv.printers) {
        x.open("PRINTERS");
        x.field("NAME", printer);
        x.close("PRINTERS");
    }
    for (const InventoryProgram& program : inv.programs) {
        if (program.name.empty())
            continue;  // nothing the server could file it under
        x.open("SOFTWARES");
        x.field("NAME", program.name);
        x.field("VERSION", program.version);
        x.field("PUBLISHER", program.publisher);
        x.field("INSTALLDATE", slashedDate(program.installDate));
        x.number("BITSWIDTH", program.bits, program.bits != 0);
        x.close("SOFTWARES");
    }
}

}  // namespace

std::string xmlText(const std::string& utf8)
{
    std::string out;
    out.reserve(utf8.size());
    for (char c : utf8) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (c == '&')
            out += "&amp;";
        else if (c == '<')
            out += "&lt;";
        else if (c == '>')
            out += "&gt;";
        else if (c == '"')
            out += "&quot;";
        else if (c == '\'')
            out += "&apos;";
        else if (u < 0x20 && c != '\t' && c != '\n' && c != '\r')
            out += "\xEF\xBF\xBD";
        else
            out += c;
    }
    return out;
}

std::string ocsInventoryXml(const Inventory& inventory)
{
    XmlOut x;
    x.text() = "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\n";
    x.open("REQUEST");
    x.open("CONTENT");
    writeHardware(x, inventory);
    writeBios(x, inventory);
    writeDevices(x, inventory);
    writeNetworks(x, inventory);
    writeDrives(x, inventory);
    writeSoftwares(x, inventory);
    x.close("CONTENT");
    x.field("DEVICEID", inventory.deviceId);
    x.field("QUERY", "INVENTORY");
    x.close("REQUEST");
    return std::move(x.text());
}

}  // namespace kel
