// Everything machine.ini describes, with the documented defaults. Texts are
// already in the machine's ANSI code page.
#pragma once

#include "platform/Platform.h"

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace kel {

struct MediaDeviceFacts {
    bool fails = false;
    uint32_t driverVersion = 0;
    std::string productName;  // at most 32 bytes
};

struct DriveFacts {
    char letter = 'C';
    uint32_t type = kDriveUnknown;
    DiskSpaceEx spaceEx;
    DiskSpace space;
    bool spaceFails = false;
    bool volumeFails = false;
    std::string label;
    std::string fileSystem;
    uint32_t serial = 0;
};

struct StartupFolderFacts {
    bool named = false;              // false: the shell cannot name the folder
    std::vector<std::string> files;  // in the order the file search finds them
};

struct VersionNumbers {
    uint32_t major = 0;
    uint32_t minor = 0;
    uint32_t build = 0;
};

struct IdentityFacts {
    bool hasComputerName = false;
    std::string computerName;
    bool hasUserName = false;
    std::string userName;
    bool hasJoin = false;  // false: the platform cannot tell
    std::string joinName;
    JoinStatus joinStatus = JoinStatus::Unknown;
    std::string deviceId;  // empty when none is recorded
};

struct MachineFacts {
    // [system]
    uint32_t codePage = 1252;
    SystemInfo system{4096, 65536, 1};
    bool extendedFreeSpace = true;
    bool windows64 = false;
    bool extendedMemoryStatus = true;
    uint32_t activeProcessors = 0;  // 0: kernel32 lacks GetActiveProcessorCount

    // [version]
    bool hasVersion = false;
    bool versionExtended = true;
    VersionRecord version;  // the true numbers, as RtlGetVersion answers them
    bool hasReportedVersion = false;
    VersionNumbers reportedVersion;  // what GetVersionExA answers in their place

    // [memory]
    MemoryStatus memory;

    // [cpu]
    std::map<uint32_t, std::vector<CpuidRegs>> cpuidLeaves;
    int64_t qpcFrequency = 0;
    uint64_t tscHundredthsOfMhz = 0;
    bool hasCpuid = true;
    bool hasTimeStampCounter = true;

    // [screen]
    ScreenCaps screen;

    // [media], indexed by MediaFamily
    std::array<std::vector<MediaDeviceFacts>, kMediaFamilyCount> media;
    bool hasDefaultRender = false;  // false: no audio endpoint
    std::string defaultRender;      // its adapter name

    // [devices]: instance identifiers of devices no longer attached
    std::vector<std::string> absentDevices;

    // [drives], in letter order
    std::vector<DriveFacts> drives;

    // [printers]
    std::vector<std::string> printers;
    bool printersFail = false;

    // [shell]
    StartupFolderFacts startupUser;
    StartupFolderFacts startupCommon;

    // [identity]
    IdentityFacts identity;

    // [adapters]: the list's result, then the adapters
    uint32_t adaptersResult = kAdaptersNotSupported;
    std::vector<AdapterRecord> adapters;

    // [firmware]: the raw SMBIOS table as the platform returns it; empty
    // when there is none
    std::vector<uint8_t> smbiosTable;
};

}  // namespace kel
