#include "collectors/DirectXInfo.h"

#include "collectors/TextOut.h"
#include "platform/RegKey.h"

namespace kel {

namespace {

// The component walks, chained in this order, with the list each fills.
struct ComponentKey {
    const char* path;
    int listNumber;
};
constexpr ComponentKey kComponentKeys[] = {
    {"SOFTWARE\\Microsoft\\Direct3D\\Drivers", 1},
    {"SOFTWARE\\Microsoft\\DirectPlay\\Services", 2},
    {"SOFTWARE\\Microsoft\\DirectMusic\\SoftwareSynths", 3},
};

}  // namespace

DirectXInfo::DirectXInfo() = default;
DirectXInfo::DirectXInfo(const DirectXInfo& other) = default;
DirectXInfo& DirectXInfo::operator=(const DirectXInfo& other) = default;

// The component lists go first to last, then the version.
DirectXInfo::~DirectXInfo()
{
    direct3DDrivers.clear();
    directPlayServices.clear();
    directMusicSynths.clear();
}

void DirectXInfo::setDirectXInfo()
{
    RegKey directX;
    if (directX.open(RegRoot::LocalMachine, "SOFTWARE\\Microsoft\\DirectX", kKeyQueryValue) == kRegSuccess)
        directX.readText("Version", kMaxPath, &version);
    directX.close();

    // A walk runs only when the one before it could read its key.
    for (const ComponentKey& component : kComponentKeys) {
        if (!walkComponents(component.path, component.listNumber))
            return;
    }
}

bool DirectXInfo::walkComponents(const char* basePath, int listNumber)
{
    RegKey base;
    if (base.open(RegRoot::LocalMachine, basePath, kKeyRead) != kRegSuccess)
        return false;
    uint32_t subKeys = 0;
    uint32_t values = 0;
    if (platform().regQueryInfoKey(base.handle(), &subKeys, &values) != kRegSuccess)
        return false;
    for (uint32_t i = 0; i < subKeys; ++i) {
        char name[kMaxPath] = {};
        if (platform().regEnumKey(base.handle(), i, name, sizeof name) == kRegSuccess)
            regSearch(std::string(basePath) + "\\" + boundedText(name, sizeof name, sizeof name), listNumber);
    }
    return true;
}

void DirectXInfo::regSearch(std::string path, int listNumber)
{
    RegKey component;
    if (component.open(RegRoot::LocalMachine, path, kKeyQueryValue) != kRegSuccess)
        return;
    std::string description;
    if (!component.readText("Description", kMaxPath, &description))
        return;
    OwnedList<std::string>* const lists[] = {&direct3DDrivers, &directPlayServices, &directMusicSynths};
    if (listNumber >= 1 && listNumber <= 3)
        lists[listNumber - 1]->append(std::move(description));
}

void DirectXInfo::getDirectXInfo(char* buffer, int size) { writeTextIfFits(version, buffer, size); }

}  // namespace kel
