#include "inventory/FormatFields.h"

#include <cstdio>

namespace kel {

namespace {

// The four numbers of a dotted IPv4 address.
bool ipv4Parts(const std::string& text, unsigned parts[4])
{
    unsigned a = 0, b = 0, c = 0, d = 0;
    char tail = 0;
    if (text.size() > 15 || text.find_first_not_of("0123456789.") != std::string::npos ||
        std::sscanf(text.c_str(), "%3u.%3u.%3u.%3u%c", &a, &b, &c, &d, &tail) != 4 || a > 255 || b > 255 ||
        c > 255 || d > 255)
        return false;
    parts[0] = a, parts[1] = b, parts[2] = c, parts[3] = d;
    // Leading zeros or missing digits would read as another address.
    char again[16];
    std::snprintf(again, sizeof again, "%u.%u.%u.%u", a, b, c, d);
    return text == again;
}

}  // namespace

std::string fullOsName(const Inventory& inventory)
{
    return inventory.osName.empty() ? std::string() : "Microsoft " + inventory.osName;
}

bool isIpv4(const std::string& text)
{
    unsigned parts[4];
    return ipv4Parts(text, parts);
}

std::string ipSubnet(const std::string& address, const std::string& mask)
{
    unsigned a[4], m[4];
    if (!ipv4Parts(address, a) || !ipv4Parts(mask, m))
        return std::string();
    char text[16];
    std::snprintf(text, sizeof text, "%u.%u.%u.%u", a[0] & m[0], a[1] & m[1], a[2] & m[2], a[3] & m[3]);
    return text;
}

std::vector<const IpAddressPair*> addressEntries(const InventoryAdapter& adapter)
{
    // 0.0.0.0 is how the IP helper lists an adapter without an address.
    std::vector<const IpAddressPair*> entries;
    for (const IpAddressPair& address : adapter.addresses) {
        if (isIpv4(address.address) && address.address != "0.0.0.0")
            entries.push_back(&address);
    }
    if (entries.empty())
        entries.push_back(nullptr);
    return entries;
}

bool isVirtualDevice(const InventoryAdapter& adapter)
{
    return adapter.deviceInstance.compare(0, 5, "ROOT\\") == 0;
}

std::string defaultGateway(const InventoryAdapter& adapter)
{
    for (const std::string& gateway : adapter.gateways) {
        if (isIpv4(gateway) && gateway != "0.0.0.0")
            return gateway;
    }
    return std::string();
}

std::string firmwareIsoDate(const std::string& date)
{
    unsigned month = 0, day = 0, year = 0;
    char tail = 0;
    if (date.size() != 10 || std::sscanf(date.c_str(), "%2u/%2u/%4u%c", &month, &day, &year, &tail) != 3 ||
        month < 1 || month > 12 || day < 1 || day > 31 || year < 1000)
        return std::string();
    char text[16];
    std::snprintf(text, sizeof text, "%04u-%02u-%02u", year, month, day);
    return text;
}

std::string interfaceTypeName(uint32_t type)
{
    switch (type) {
    case 6:
        return "ethernet";
    case 71:
        return "wifi";
    case 24:
        return "loopback";
    case 23:
        return "dialup";
    default:
        return std::string();
    }
}

}  // namespace kel
