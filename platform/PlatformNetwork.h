// The network area of the platform seam: the adapters as GetAdaptersInfo
// (iphlpapi, looked up at run time) lists them, copied out of the platform's
// linked records into bounded texts.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kel {

// The platform's results of the adapter list.
constexpr uint32_t kAdaptersSuccess = 0;
constexpr uint32_t kAdaptersNotSupported = 50;  // no iphlpapi, or no GetAdaptersInfo in it
constexpr uint32_t kAdaptersNoData = 232;       // no adapter at all
constexpr uint32_t kAdaptersFailure = 31;       // the query failed (ERROR_GEN_FAILURE)

constexpr std::size_t kAdapterAddressLength = 8;  // MAX_ADAPTER_ADDRESS_LENGTH

// An IPv4 address and its mask, dotted as the platform writes them.
struct IpAddressPair {
    std::string address;
    std::string mask;
};

struct AdapterRecord {
    std::string name;  // on NT the instance's NetCfgInstanceId, "{...}"
    std::string description;
    uint32_t addressLength = 0;  // at most kAdapterAddressLength
    uint8_t address[kAdapterAddressLength] = {};
    uint32_t index = 0;
    uint32_t type = 0;  // the interface type: 6 Ethernet, 71 IEEE 802.11, ...
    bool dhcpEnabled = false;
    std::string dhcpServer;  // when DHCP is enabled
    std::vector<IpAddressPair> addresses;
    std::vector<IpAddressPair> gateways;
};

class PlatformNetwork {
public:
    virtual ~PlatformNetwork() = default;

    // Replaces *adapters with the list; one of the results above, or the
    // platform's error code.
    virtual uint32_t getAdaptersInfo(std::vector<AdapterRecord>* adapters) = 0;
};

}  // namespace kel
