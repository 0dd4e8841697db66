// The operating system's name for the inventory formats, from the true
// version and the product type of the extended version record; never from
// the registry's ProductName, which says "Windows 10" on Windows 11.
#pragma once

#include <cstdint>
#include <string>

namespace kel {

// Product types of the extended version record.
constexpr uint8_t kProductWorkstation = 1;
constexpr uint8_t kProductDomainController = 2;
constexpr uint8_t kProductServer = 3;

// The name of Windows Vista and later ("Windows 11", "Windows Server 2019");
// empty for versions before 6.0, whose names are the report's own.
std::string modernWindowsName(uint32_t major, uint32_t minor, uint32_t build, uint8_t productType);

// The name part of the report's OS line ("Windows XP" of "Windows XP Version
// 5.1 ..."); empty when the line names no system.
std::string reportOsName(const std::string& osLine);

}  // namespace kel
