// The network adapters as the IP helper lists them, with their hardware and
// IPv4 addresses, each tied to its record of the device walk where the
// platform tells which that is. For the inventory formats only: the report's
// Nic lines stay those of NetworkInfo.
#pragma once

#include "collectors/DeviceInfo.h"
#include "platform/Platform.h"

#include <string>
#include <vector>

namespace kel {

struct NetworkAdapter {
    AdapterRecord record;
    // The tied device record: its instance path below the enumeration root
    // and its shown name; empty when none is tied.
    std::string deviceInstance;
    std::string deviceName;
    std::string manufacturer;
};

class AdapterInfo {
public:
    // classLists: the device walk's lists, whose "Net" records the adapters
    // are tied to on the NT family; may be null.
    void setAdapterInfo(bool isNT, const DeviceClassList* classLists);

    const std::vector<NetworkAdapter>& adapters() const { return adapters_; }

private:
    std::vector<NetworkAdapter> adapters_;
};

// The hardware address as the formats write it: "00:0c:29:3a:4b:5c"; empty
// for an adapter without one.
std::string hardwareAddress(const AdapterRecord& adapter);

}  // namespace kel
