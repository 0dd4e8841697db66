#include "collectors/DeviceInfo.h"

#include "collectors/DevicePresence.h"
#include "collectors/IndirectString.h"
#include "collectors/RegistryBytes.h"
#include "platform/Platform.h"
#include "platform/RegKey.h"

#include <cstring>
#include <iterator>
#include <memory>
#include <utility>

namespace kel {

namespace {

// The platform's device setup class names, at the positions of their lists.
const char* const kClassNames[] = {
    "Battery",    "Computer",      "DiskDrive",
    "Display",    "CDROM",         "fdc",
    "FloppyDisk", "GPS",           "HID",
    "hdc",        "1394",          "Image",
    "Infrared",   "Keyboard",      "MediumChanger",
    "MTD",        "Mouse",         "Modem",
    "Monitor",    "MultiFunction", "MultiPortSerial",
    "Net",        "LegacyDriver",  "NtApm",
    "Unknown",    "PCMCIA",        "Ports",
    "Printer",    "SCSIAdapter",   "SmartCardReader",
    "MEDIA",      "Volume",        "System",
    "TapeDrive",  "USB",
};
static_assert(std::size(kClassNames) == kDeviceClassListCount, "one name per class list");

struct FamilyRoots {
    const char* enumRoot;
    const char* classRoot;
};

const FamilyRoots kNtRoots = {kNtEnumRoot, "SYSTEM\\CurrentControlSet\\Control\\Class"};
const FamilyRoots kWin9xRoots = {"Enum", "SYSTEM\\CurrentControlSet\\Services\\Class"};

const FamilyRoots& rootsOf(bool isNT) { return isNT ? kNtRoots : kWin9xRoots; }

const char kServiceRoot[] = "SYSTEM\\CurrentControlSet\\Services";
constexpr std::size_t kValueSize = 260;

// Since Windows Vista many of these values are indirect strings; the record
// keeps the text a person would see. A failed read leaves the field as it was.
void readDeviceText(const RegKey& key, const char* name, std::string* field)
{
    std::string text;
    if (key.readText(name, kValueSize, &text))
        *field = resolvedIndirectString(text);
}

// Exact, case-sensitive match; -1 for a class the table does not know.
int classListPosition(const std::string& className)
{
    for (int position = 0; position < kDeviceClassListCount; ++position) {
        if (className == kClassNames[position])
            return position;
    }
    return -1;
}

// The enumerator an instance path names: the component right after the
// enumeration root.
std::string enumeratorOf(const std::string& path, const char* enumRoot)
{
    const std::size_t start = std::strlen(enumRoot) + 1;
    if (path.size() <= start)
        return std::string();
    return path.substr(start, path.find('\\', start) - start);
}

}  // namespace

DeviceInfo::DeviceInfo() : isNT(false) {}

DeviceInfo::DeviceInfo(const DeviceInfo& other) = default;

DeviceInfo& DeviceInfo::operator=(const DeviceInfo& other) = default;

DeviceInfo::~DeviceInfo()
{
    // Lists are freed from position 0 upward, each last record first.
    for (DeviceClassList& list : classLists)
        list.clear();
}

void DeviceInfo::setSystemDeviceInfo(bool nt)
{
    isNT = nt;
    getRegistryKeyList(rootsOf(isNT).enumRoot, 2);
}

const DeviceClassList* DeviceInfo::getSystemDeviceInfo() { return classLists; }

bool DeviceInfo::getRegistryKeyList(const std::string& path, int depth)
{
    RegKey key;
    if (key.open(RegRoot::LocalMachine, path, kKeyRead) != kRegSuccess)
        return false;
    uint32_t subKeys = 0;
    uint32_t values = 0;
    if (platform().regQueryInfoKey(key.handle(), &subKeys, &values) != kRegSuccess)
        return false;
    // One child path serves every subkey: after the first it needs no new
    // memory, however many instances the key has.
    std::string child;
    for (uint32_t index = 0; index < subKeys; ++index) {
        // One byte beyond what the platform may fill keeps the name ended.
        char name[kMaxPath + 1] = {};
        if (platform().regEnumKey(key.handle(), index, name, kMaxPath) != kRegSuccess)
            continue;
        child.assign(path).append(1, '\\').append(name);
        if (depth > 0)
            getRegistryKeyList(child, depth - 1);
        else if (depth == 0)
            getRegistryValue(child);
    }
    return true;
}

bool DeviceInfo::getRegistryValue(const std::string& path)
{
    RegKey key;
    if (key.open(RegRoot::LocalMachine, path, kKeyQueryValue) != kRegSuccess)
        return false;
    auto device = std::make_unique<DeviceClass>();
    device->keyPath = path;

    readDeviceText(key, "ClassGUID", &device->classGuid);
    // The class key decides the class; the instance's own word counts only
    // when the class key has none.
    const bool classKeyRead = getDeviceClass(device->classGuid, device.get());
    if (!classKeyRead || device->className.empty())
        readDeviceText(key, "Class", &device->className);

    readDeviceText(key, "DeviceDesc", &device->deviceDesc);
    readDeviceText(key, "FriendlyName", &device->friendlyName);
    readDeviceText(key, "Mfg", &device->manufacturer);
    readDeviceText(key, "Service", &device->service);
    readDeviceText(key, "LocationInformation", &device->locationInformation);
    if (device->locationInformation.empty())
        getDeviceService(enumeratorOf(path, rootsOf(isNT).enumRoot), device.get(), true);

    readDeviceText(key, "HardwareID", &device->hardwareId);
    readDeviceText(key, "Driver", &device->driver);
    getDeviceDriver(device->driver, device.get());
    getDeviceService(device->service, device.get(), false);
    key.close();

    const int position = classListPosition(device->className);
    if (position >= 0)
        classLists[position].append(std::move(device));
    return true;
}

bool DeviceInfo::getDeviceClass(const std::string& classGuid, DeviceClass* device)
{
    RegKey key;
    if (key.open(RegRoot::LocalMachine, KeyPath(rootsOf(isNT).classRoot, classGuid), kKeyQueryValue) !=
        kRegSuccess)
        return false;
    readDeviceText(key, "Class", &device->className);
    readDeviceText(key, "", &device->classDescription);
    readDeviceText(key, "Icon", &device->iconValue);
    return true;
}

bool DeviceInfo::getDeviceDriver(const std::string& driverKey, DeviceClass* device)
{
    RegKey key;
    if (key.open(RegRoot::LocalMachine, KeyPath(rootsOf(isNT).classRoot, driverKey), kKeyQueryValue) !=
        kRegSuccess)
        return false;
    readDeviceText(key, "DriverDate", &device->driverDate);
    readDeviceText(key, "DriverVersion", &device->driverVersion);
    readDeviceText(key, "ProviderName", &device->providerName);
    return true;
}

bool DeviceInfo::getDeviceService(const std::string& serviceName, DeviceClass* device, bool asLocation)
{
    RegKey key;
    if (key.open(RegRoot::LocalMachine, KeyPath(kServiceRoot, serviceName), kKeyQueryValue) != kRegSuccess)
        return false;
    readDeviceText(key, "DisplayName",
                   asLocation ? &device->locationInformation : &device->serviceDisplayName);
    readDeviceText(key, "Group", &device->serviceGroup);
    uint32_t type = 0;
    if (readNumber(key, "Type", &type))
        device->serviceType = std::to_string(static_cast<int32_t>(type));
    return true;
}

}  // namespace kel
