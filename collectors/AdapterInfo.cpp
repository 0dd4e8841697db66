#include "collectors/AdapterInfo.h"

#include "platform/RegKey.h"

#include <cstdio>

namespace kel {

namespace {

const char kEnumRoot[] = "SYSTEM\\CurrentControlSet\\Enum\\";
const char kClassRoot[] = "SYSTEM\\CurrentControlSet\\Control\\Class";

bool equalIgnoringCase(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i] >= 'a' && a[i] <= 'z' ? static_cast<char>(a[i] - 32) : a[i];
        char y = b[i] >= 'a' && b[i] <= 'z' ? static_cast<char>(b[i] - 32) : b[i];
        if (x != y)
            return false;
    }
    return true;
}

// On NT an adapter's name is the NetCfgInstanceId of its instance's driver key.
std::string netCfgInstanceId(const DeviceClass& device)
{
    RegKey driver;
    std::string id;
    if (!device.driver.empty() &&
        driver.open(RegRoot::LocalMachine, KeyPath(kClassRoot, device.driver), kKeyQueryValue) == kRegSuccess)
        driver.readText("NetCfgInstanceId", kMaxPath, &id);
    return id;
}

void tie(NetworkAdapter* adapter, const DeviceClass& device)
{
    const std::string& path = device.keyPath;
    const std::size_t root = sizeof kEnumRoot - 1;
    adapter->deviceInstance = path.compare(0, root, kEnumRoot) == 0 ? path.substr(root) : path;
    adapter->deviceName = shownName(device);
    adapter->manufacturer = device.manufacturer;
}

}  // namespace

void AdapterInfo::setAdapterInfo(bool isNT, const DeviceClassList* classLists)
{
    std::vector<AdapterRecord> records;
    if (platform().getAdaptersInfo(&records) != kAdaptersSuccess)
        return;
    std::vector<std::string> instanceIds;
    const DeviceClassList* net = isNT && classLists ? &classLists[kNetClassList] : nullptr;
    for (std::size_t i = 0; net && i < net->size(); ++i)
        instanceIds.push_back(netCfgInstanceId((*net)[i]));
    for (AdapterRecord& record : records) {
        NetworkAdapter adapter;
        adapter.record = std::move(record);
        for (std::size_t i = 0; i < instanceIds.size(); ++i) {
            if (!instanceIds[i].empty() && equalIgnoringCase(instanceIds[i], adapter.record.name)) {
                tie(&adapter, (*net)[i]);
                break;
            }
        }
        adapters_.push_back(std::move(adapter));
    }
}

std::string hardwareAddress(const AdapterRecord& adapter)
{
    std::string text;
    char pair[4];
    for (uint32_t i = 0; i < adapter.addressLength && i < kAdapterAddressLength; ++i) {
        std::snprintf(pair, sizeof pair, i ? ":%02x" : "%02x", adapter.address[i]);
        text += pair;
    }
    return text;
}

}  // namespace kel
