#include "collectors/StartUpInfo.h"

#include "collectors/StartupApproved.h"
#include "collectors/TextOut.h"
#include "platform/FileSearch.h"
#include "platform/RegKey.h"
#include "platform/RegViews.h"

#include <initializer_list>

namespace kel {

namespace {

const char kRunPath[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const char kRunOncePath[] = "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";

std::string runText(const RunEntry& entry) { return entry.valueData + "@" + entry.valueName; }

// Appends every value of an open Run or RunOnce key that fits the buffers
// and is not disabled.
void readRunValues(const RegKey& key, const StartupApproved& states, OwnedList<RunEntry>& list)
{
    uint32_t subKeys = 0;
    uint32_t values = 0;
    if (platform().regQueryInfoKey(key.handle(), &subKeys, &values) != kRegSuccess)
        return;
    for (uint32_t i = 0; i < values; ++i) {
        char name[kMaxPath] = {};
        uint8_t data[kMaxPath] = {};
        uint32_t nameSize = sizeof name;
        uint32_t dataSize = sizeof data;
        uint32_t type = 0;
        if (platform().regEnumValue(key.handle(), i, name, &nameSize, &type, data, &dataSize) != kRegSuccess)
            continue;
        auto entry = std::make_unique<RunEntry>();
        entry->valueName = boundedText(name, nameSize, sizeof name);
        if (states.disabled(entry->valueName))
            continue;
        entry->valueData = boundedText(reinterpret_cast<const char*>(data), dataSize, sizeof data);
        list.append(std::move(entry));
    }
}

}  // namespace

// The entries of the five lists as one sequence, for the shared joiner.
struct StartUpInfo::Sequence {
    const StartUpInfo& info;
    std::size_t size() const { return info.entryCount(); }
    std::string operator[](std::size_t index) const { return info.entryText(index); }
};

StartUpInfo::StartUpInfo() = default;
StartUpInfo::StartUpInfo(const StartUpInfo& other) = default;
StartUpInfo& StartUpInfo::operator=(const StartUpInfo& other) = default;

// List 1 first, each list from its last entry to its first.
StartUpInfo::~StartUpInfo()
{
    machineRun.clear();
    userRun.clear();
    runOnce.clear();
    userStartupFolder.clear();
    commonStartupFolder.clear();
}

void StartUpInfo::setStartUpInfo()
{
    setStartUpRegList(1, kRunPath);
    setStartUpRegList(2, kRunPath);
    setStartUpRegList(3, kRunOncePath);
    setStartUpRegList(4, kRunOncePath);
    // The common folder is searched first although its entries come last.
    setStartUpDirList(kFolderCommonStartup);
    setStartUpDirList(kFolderStartup);
}

// Sources 1 and 3 are the machine's keys, read in every registry view; 2 and
// 4 the user's. Any other number reads nothing. Run values a user or an
// administrator disabled are left out; RunOnce values have no such state.
// The 32-bit view's own Run key has its states apart, in Run32.
void StartUpInfo::setStartUpRegList(int source, std::string keyPath)
{
    if (source == 1) {
        forEachMachineView(keyPath, kKeyRead, [this](const RegKey& key, uint32_t view, bool apart) {
            const bool run32 = apart && view == kKeyWow64_32Key;
            readRunValues(key, StartupApproved(RegRoot::LocalMachine, run32 ? "Run32" : "Run"), machineRun);
        });
    } else if (source == 3) {
        forEachMachineView(keyPath, kKeyRead, [this](const RegKey& key, uint32_t, bool) {
            readRunValues(key, StartupApproved(), runOnce);
        });
    } else if (source == 2 || source == 4) {
        RegKey key;
        if (key.open(RegRoot::CurrentUser, keyPath, kKeyRead) != kRegSuccess)
            return;
        if (source == 2)
            readRunValues(key, StartupApproved(RegRoot::CurrentUser, "Run"), userRun);
        else
            readRunValues(key, StartupApproved(), runOnce);
    }
}

void StartUpInfo::setStartUpDirList(int folder)
{
    char path[kMaxPath] = {};
    if (!platform().getSpecialFolderPath(folder, path))
        return;
    const bool common = folder == kFolderCommonStartup;
    OwnedList<std::string>& list = common ? commonStartupFolder : userStartupFolder;
    const StartupApproved states(common ? RegRoot::LocalMachine : RegRoot::CurrentUser, "StartupFolder");
    for (FileSearch search(boundedText(path, sizeof path, sizeof path) + "\\*.lnk"); search.found();
         search.next()) {
        if (!states.disabled(search.name()))
            list.append(search.name());
    }
}

// Start-up entries written in configuration files are not gathered.
void StartUpInfo::setStartUpIniList() {}

int StartUpInfo::getStartUpListCount() { return static_cast<int>(entryCount()); }

// An index past the end selects an empty text; a negative one is rejected.
int StartUpInfo::getStartUpDescription(int index, char* buffer, int size)
{
    if (index < 0)
        return -1;
    return writeTextIfFits(entryText(static_cast<std::size_t>(index)), buffer, size) ? 1 : -1;
}

int StartUpInfo::getStartUpInfo(char* buffer, int size)
{
    return describeAll(Sequence{*this}, buffer, size, textItself);
}

std::size_t StartUpInfo::entryCount() const
{
    return machineRun.size() + userRun.size() + runOnce.size() + userStartupFolder.size() +
           commonStartupFolder.size();
}

std::string StartUpInfo::entryText(std::size_t index) const
{
    for (const OwnedList<RunEntry>* list : {&machineRun, &userRun, &runOnce}) {
        if (index < list->size())
            return runText((*list)[index]);
        index -= list->size();
    }
    for (const OwnedList<std::string>* list : {&userStartupFolder, &commonStartupFolder}) {
        if (index < list->size())
            return (*list)[index];
        index -= list->size();
    }
    return std::string();
}

}  // namespace kel
