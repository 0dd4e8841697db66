#include "inventory/GlpiWriter.h"

#include "inventory/FormatFields.h"

#include <cstdio>
#include <utility>
#include <vector>

namespace kel {

namespace {

// A JSON value built as a tree, so that it prints indented.
class Json {
public:
    static Json object() { return Json(Kind::Object); }
    static Json array() { return Json(Kind::Array); }

    // Members whose fact is missing are left out.
    Json& text(const char* key, const std::string& value)
    {
        if (!value.empty())
            members_.emplace_back(key, scalar(jsonString(value)));
        return *this;
    }
    Json& number(const char* key, uint64_t value, bool known = true)
    {
        if (known)
            members_.emplace_back(key, scalar(std::to_string(value)));
        return *this;
    }
    Json& boolean(const char* key, bool value)
    {
        members_.emplace_back(key, scalar(value ? "true" : "false"));
        return *this;
    }
    Json& member(const char* key, Json value)
    {
        if (!value.empty())
            members_.emplace_back(key, std::move(value));
        return *this;
    }
    void push(Json value) { items_.push_back(std::move(value)); }
    bool empty() const { return kind_ != Kind::Scalar && members_.empty() && items_.empty(); }

    void print(std::string& out, int depth) const
    {
        const std::string inner(2 * (depth + 1), ' ');
        if (kind_ == Kind::Scalar) {
            out += scalar_;
        } else if (kind_ == Kind::Object) {
            out += "{\n";
            for (std::size_t i = 0; i < members_.size(); ++i) {
                out += inner + jsonString(members_[i].first) + ": ";
                members_[i].second.print(out, depth + 1);
                out += i + 1 < members_.size() ? ",\n" : "\n";
            }
            out += std::string(2 * depth, ' ') + "}";
        } else {
            out += "[\n";
            for (std::size_t i = 0; i < items_.size(); ++i) {
                out += inner;
                items_[i].print(out, depth + 1);
                out += i + 1 < items_.size() ? ",\n" : "\n";
            }
            out += std::string(2 * depth, ' ') + "]";
        }
    }

private:
    enum class Kind { Object, Array, Scalar };
    explicit Json(Kind kind) : kind_(kind) {}
    static Json scalar(std::string text)
    {
        Json value(Kind::Scalar);
        value.scalar_ = std::move(text);
        return value;
    }

    Kind kind_;
    std::string scalar_;
    std::vector<std::pair<std::string, Json>> members_;
    std::vector<Json> items_;
};

Json hardware(const Inventory& inv)
{
    Json h = Json::object();
    h.text("name", inv.computerName);
    h.text("workgroup", inv.joinName);
    h.number("memory", inv.memoryMb, inv.memoryMb != 0);
    h.text("uuid", inv.firmware.uuid);
    h.text("lastloggeduser", inv.userName);
    return h;
}

Json operatingSystem(const Inventory& inv)
{
    Json os = Json::object();
    if (inv.osVersion.empty() && inv.osName.empty())
        return os;
    os.text("name", "Windows");
    os.text("full_name", fullOsName(inv));
    os.text("kernel_name", "MSWin32");
    os.text("kernel_version", inv.osVersion);
    os.text("service_pack", inv.servicePack);
    os.text("arch", inv.windows64 ? "64-bit" : "32-bit");
    return os;
}

Json bios(const Inventory& inv)
{
    Json b = Json::object();
    const SmbiosFacts& f = inv.firmware;
    b.text("smanufacturer", f.manufacturer);
    b.text("smodel", f.product);
    b.text("ssn", f.serialNumber);
    b.text("bmanufacturer", f.biosVendor);
    b.text("bversion", f.biosVersion);
    b.text("bdate", firmwareIsoDate(f.biosDate));
    return b;
}

Json devices(const Inventory& inv, Json* videos, Json* sounds)
{
    Json cpus = Json::array();
    Json cpu = Json::object();
    cpu.text("name", inv.cpuName).number("speed", inv.cpuMhz, inv.cpuMhz != 0);
    cpu.number("thread", inv.cpuCount, inv.cpuCount != 0);
    if (!cpu.empty())
        cpus.push(std::move(cpu));
    for (const InventoryDisplay& display : inv.displays) {
        Json video = Json::object();
        video.text("name", display.name)
            .number("memory", static_cast<uint64_t>(display.memoryMb), display.memoryMb > 0);
        videos->push(std::move(video));
    }
    if (!inv.sound.empty()) {
        Json sound = Json::object();
        sound.text("name", inv.sound);
        sounds->push(std::move(sound));
    }
    return cpus;
}

Json networkEntry(const InventoryAdapter& adapter, const IpAddressPair* address)
{
    Json n = Json::object();
    n.text("description", adapter.description);
    n.text("mac", adapter.macAddress);
    n.text("type", interfaceTypeName(adapter.type));
    if (address) {
        n.text("ipaddress", address->address);
        n.text("ipmask", address->mask);
        n.text("ipsubnet", ipSubnet(address->address, address->mask));
    }
    n.text("ipgateway", defaultGateway(adapter));
    n.text("ipdhcp", adapter.dhcp ? adapter.dhcpServer : std::string());
    if (!adapter.deviceInstance.empty()) {
        n.text("pnpdeviceid", adapter.deviceInstance);
        n.text("manufacturer", adapter.manufacturer);
        n.boolean("virtualdev", isVirtualDevice(adapter));
    }
    return n;
}

Json networks(const Inventory& inv)
{
    Json list = Json::array();
    for (const InventoryAdapter& adapter : inv.adapters) {
        if (adapter.description.empty())
            continue;  // the schema requires a description
        for (const IpAddressPair* address : addressEntries(adapter))
            list.push(networkEntry(adapter, address));
    }
    return list;
}

Json drives(const Inventory& inv)
{
    Json list = Json::array();
    for (const InventoryDrive& drive : inv.drives) {
        Json d = Json::object();
        d.text("letter", drive.letter).text("type", drive.type).text("filesystem", drive.fileSystem);
        d.number("total", drive.totalMb, drive.hasSpace).number("free", drive.freeMb, drive.hasSpace);
        list.push(std::move(d));
    }
    return list;
}

Json printers(const Inventory& inv)
{
    Json list = Json::array();
    for (const std::string& name : inv.printers) {
        if (name.empty())
            continue;  // the schema requires a name
        Json p = Json::object();
        p.text("name", name).boolean("network", name.compare(0, 2, "\\\\") == 0);
        list.push(std::move(p));
    }
    return list;
}

Json softwares(const Inventory& inv)
{
    Json list = Json::array();
    for (const InventoryProgram& program : inv.programs) {
        if (program.name.empty())
            continue;  // the schema requires a name
        Json s = Json::object();
        s.text("name", program.name).text("version", program.version).text("publisher", program.publisher);
        s.text("install_date", program.installDate);
        s.text("arch", program.bits == 64 ? "x86_64" : program.bits == 32 ? "i586" : "");
        s.text("from", "registry");
        s.text("system_category", program.hidden ? "system_component" : "application");
        if (program.perUser)
            s.text("username", inv.userName);
        list.push(std::move(s));
    }
    return list;
}

}  // namespace

std::string jsonString(const std::string& utf8)
{
    std::string out = "\"";
    for (char c : utf8) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (u < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", u);
            out += escaped;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

std::string glpiInventoryJson(const Inventory& inventory, const std::string& versionClient)
{
    Json content = Json::object();
    content.text("versionclient", versionClient);
    content.member("hardware", hardware(inventory));
    content.member("operatingsystem", operatingSystem(inventory));
    content.member("bios", bios(inventory));
    Json videos = Json::array(), sounds = Json::array();
    content.member("cpus", devices(inventory, &videos, &sounds));
    content.member("videos", std::move(videos));
    content.member("sounds", std::move(sounds));
    content.member("networks", networks(inventory));
    content.member("drives", drives(inventory));
    content.member("printers", printers(inventory));
    content.member("softwares", softwares(inventory));
    if (!inventory.userName.empty()) {
        Json users = Json::array();
        Json user = Json::object();
        user.text("login", inventory.userName);
        if (inventory.joinStatus == JoinStatus::Domain)
            user.text("domain", inventory.joinName);
        users.push(std::move(user));
        content.member("users", std::move(users));
    }
    Json root = Json::object();
    root.text("action", "inventory");
    root.text("deviceid", inventory.deviceId);
    root.text("itemtype", "Computer");
    root.member("content", std::move(content));
    std::string out;
    root.print(out, 0);
    return out + "\n";
}

}  // namespace kel
