// What both inventory formats derive alike from the inventory's facts.
#pragma once

#include "inventory/Inventory.h"

#include <string>
#include <vector>

namespace kel {

// The name the formats give the system: "Microsoft Windows 11"; empty when
// the system is not known.
std::string fullOsName(const Inventory& inventory);

// The network the address and mask lie in ("192.168.1.0"); empty unless both
// are dotted IPv4 addresses.
std::string ipSubnet(const std::string& address, const std::string& mask);
bool isIpv4(const std::string& text);

// The adapter's IPv4 addresses, one entry each in both formats; a null
// entry alone for an adapter without one, which still has its own entry.
std::vector<const IpAddressPair*> addressEntries(const InventoryAdapter& adapter);

// Whether the adapter's device record is a software one (enumerated by ROOT);
// only asked of adapters tied to a record.
bool isVirtualDevice(const InventoryAdapter& adapter);

// The adapter's first gateway; empty when it has none (the IP helper
// writes 0.0.0.0 then).
std::string defaultGateway(const InventoryAdapter& adapter);

// A firmware date "MM/DD/YYYY" as "YYYY-MM-DD"; empty when it is not one.
std::string firmwareIsoDate(const std::string& date);

// The interface type of the IP helper as a word: "ethernet", "wifi",
// "loopback", "dialup"; empty for the others.
std::string interfaceTypeName(uint32_t type);

}  // namespace kel
