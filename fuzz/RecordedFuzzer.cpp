// libFuzzer target for the recorded machine's readers: each input is read as
// a registry.reg, as a machine.ini, and, when it holds the line "=====", as
// both files at once; a machine that loads is then walked through the seam.

#include "recorded/RecordedMachine.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace {

constexpr int kMaxDepth = 64;
constexpr int kMaxKeysWalked = 5000;

void walkValues(kel::Platform& machine, kel::RegHandle key)
{
    char name[kel::kMaxPath];
    uint8_t data[kel::kMaxPath];
    for (uint32_t i = 0;; ++i) {
        uint32_t nameSize = sizeof name;
        uint32_t dataSize = sizeof data;
        uint32_t type = 0;
        long result = machine.regEnumValue(key, i, name, &nameSize, &type, data, &dataSize);
        if (result == kel::kRegNoMoreItems)
            return;
        if (result == kel::kRegSuccess) {
            dataSize = 7;
            machine.regQueryValue(key, name, &type, data, &dataSize);
        }
    }
}

void walkKey(kel::Platform& machine, kel::RegRoot root, const std::string& path, int depth, int* walked)
{
    if (++*walked > kMaxKeysWalked)
        return;
    kel::RegHandle key = 0;
    // A name with characters the code page cannot hold does not open again.
    if (machine.regOpenKey(root, path.c_str(), kel::kKeyRead, &key) != kel::kRegSuccess)
        return;
    walkValues(machine, key);
    char name[kel::kMaxPath];
    for (uint32_t i = 0; depth < kMaxDepth; ++i) {
        long result = machine.regEnumKey(key, i, name, sizeof name);
        if (result == kel::kRegNoMoreItems)
            break;
        if (result == kel::kRegSuccess)
            walkKey(machine, root, path.empty() ? std::string(name) : path + "\\" + name, depth + 1, walked);
    }
    machine.regCloseKey(key);
}

void exerciseDevices(kel::RecordedMachine& machine)
{
    for (uint32_t leaf : {0u, 1u, 2u, 2u, 2u, 0x80000005u})
        machine.cpuid(leaf);
    int64_t value = 0;
    machine.queryPerformanceFrequency(&value);
    machine.queryPerformanceCounter(&value);
    machine.readTimeStampCounter();
    char drives[kel::kMaxPath];
    uint32_t length = machine.getLogicalDriveStrings(sizeof drives, drives);
    for (uint32_t at = 0; at + 3 < length && at < sizeof drives; at += 4) {
        kel::DiskSpaceEx spaceEx;
        machine.getDiskFreeSpaceEx(drives + at, &spaceEx);
        char label[kel::kMaxPath], fileSystem[kel::kMaxPath];
        uint32_t serial = 0;
        machine.getVolumeInformation(drives + at, label, sizeof label, &serial, fileSystem,
                                     sizeof fileSystem);
    }
    uint32_t needed = 0, returned = 0;
    machine.enumPrinters(6, 1, nullptr, 0, &needed, &returned);
    std::string buffer(needed, '\0');
    machine.enumPrinters(6, 1, reinterpret_cast<uint8_t*>(&buffer[0]), needed, &needed, &returned);
    char path[kel::kMaxPath];
    char file[kel::kMaxPath];
    if (machine.getSpecialFolderPath(kel::kFolderStartup, path)) {
        kel::FindHandle search = machine.findFirstFile((std::string(path) + "\\*.lnk").c_str(), file);
        while (search && machine.findNextFile(search, file)) {}
        machine.findClose(search);
    }
    for (std::size_t family = 0; family < kel::kMediaFamilyCount; ++family) {
        auto which = static_cast<kel::MediaFamily>(family);
        for (uint32_t device = 0; device < machine.mediaDeviceCount(which); ++device) {
            kel::MediaCaps caps;
            machine.mediaDeviceCaps(which, device, &caps);
        }
    }
}

void exercise(const std::string& registry, const std::string& ini)
{
    std::string error;
    auto machine = kel::RecordedMachine::parse(registry, ini, &error);
    if (!machine) {
        if (error.empty() || error.find('\n') != std::string::npos)
            __builtin_trap();  // one line naming the problem, always
        return;
    }
    int walked = 0;
    for (kel::RegRoot root : {kel::RegRoot::LocalMachine, kel::RegRoot::CurrentUser})
        walkKey(*machine, root, "", 0, &walked);
    if (machine->openKeyCount() != 0)
        __builtin_trap();
    exerciseDevices(*machine);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    std::string input(reinterpret_cast<const char*>(data), size);
    const std::string mark = "\n=====\n";
    std::size_t at = input.find(mark);
    if (at != std::string::npos) {
        exercise(input.substr(0, at), input.substr(at + mark.size()));
        return 0;
    }
    exercise(input, "");
    exercise("", input);
    return 0;
}
