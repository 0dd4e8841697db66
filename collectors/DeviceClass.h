// One device instance of the device enumeration tree, with what its class,
// driver and service keys say about it.
#pragma once

#include "collectors/KelApi.h"

#include <string>

namespace kel {

struct KEL_API DeviceClass {
    std::string keyPath;
    std::string className;
    std::string reservedText;
    std::string classDescription;
    std::string iconValue;
    std::string friendlyName;
    std::string deviceDesc;
    std::string classGuid;
    std::string manufacturer;
    std::string locationInformation;
    std::string hardwareId;
    std::string driver;
    std::string driverDate;
    std::string driverVersion;
    std::string providerName;
    std::string service;
    std::string serviceDisplayName;
    std::string serviceGroup;
    std::string serviceType;
};

// The name a device goes by: its friendly name, else its description.
inline const std::string& shownName(const DeviceClass& device)
{
    return device.friendlyName.empty() ? device.deviceDesc : device.friendlyName;
}

// Case-sensitive, as the platform's PCI identifiers are written.
inline bool mentionsPci(const std::string& text) { return text.find("PCI") != std::string::npos; }

// Display and network adapters count when they sit on a bus: on the NT family
// when they have a location (their own or their enumerator's), on the
// Windows 95 family when their first hardware identifier names PCI.
inline bool isBusAdapter(const DeviceClass& device, bool isNT)
{
    return isNT ? !device.locationInformation.empty() : mentionsPci(device.hardwareId);
}

}  // namespace kel
