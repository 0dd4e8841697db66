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

}  // namespace kel
