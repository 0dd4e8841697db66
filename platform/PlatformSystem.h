// The system and version area of the platform seam: the version record,
// the memory status, the system figures and the ANSI code page (kernel32).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace kel {

// The members of the platform's version record that are read, with the
// record size the caller asks for (156 extended, 148 short).
struct VersionRecord {
    uint32_t infoSize = 0;
    uint32_t majorVersion = 0;
    uint32_t minorVersion = 0;
    uint32_t buildNumber = 0;
    uint32_t platformId = 0;
    char csdVersion[128] = {};
    uint8_t productType = 0;  // of the extended record only: 1 workstation, 2 domain controller, 3 server
};
constexpr uint32_t kVersionRecordExSize = 156;
constexpr uint32_t kVersionRecordSize = 148;

// The version record's platform identifiers.
enum PlatformId : uint32_t { kWin32s = 0, kWindows95Family = 1, kWindowsNT = 2 };

// Global memory status with the widest figures any platform reports: the
// extended query answers whole 64-bit figures.
struct MemoryStatus {
    uint32_t memoryLoad = 0;
    uint64_t totalPhys = 0;
    uint64_t availPhys = 0;
    uint64_t totalPageFile = 0;
    uint64_t availPageFile = 0;
    uint64_t totalVirtual = 0;
    uint64_t availVirtual = 0;
};

struct SystemInfo {
    uint32_t pageSize = 0;
    uint32_t allocationGranularity = 0;
    uint32_t numberOfProcessors = 0;
};

class PlatformSystem {
public:
    virtual ~PlatformSystem() = default;

    virtual bool getVersion(VersionRecord* record) = 0;
    // The version numbers ntdll's RtlGetVersion answers, which no
    // compatibility layer replaces; false (numbers untouched) when ntdll
    // lacks it or it fails.
    virtual bool getTrueVersion(uint32_t* major, uint32_t* minor, uint32_t* build) = 0;
    // GlobalMemoryStatus: each figure as wide as the process's record holds it
    // (32 bits in a 32-bit process).
    virtual void globalMemoryStatus(MemoryStatus* status) = 0;
    // GlobalMemoryStatusEx, looked up afresh on every call: false when the
    // system library lacks it or the query fails.
    virtual bool globalMemoryStatusEx(MemoryStatus* status) = 0;
    virtual void getSystemInfo(SystemInfo* info) = 0;
    // GetActiveProcessorCount(ALL_PROCESSOR_GROUPS), looked up afresh on
    // every call: the processors of every group, which GetSystemInfo does not
    // show a process; 0 when kernel32 lacks it (before Windows 7).
    virtual uint32_t activeProcessorCount() = 0;
    virtual uint32_t ansiCodePage() = 0;
    // Converts ANSI text of the machine's code page to UTF-16; false when
    // memory runs out.
    virtual bool ansiToUtf16(const char* text, std::size_t length, std::u16string* out) = 0;
};

}  // namespace kel
