// The one seam through which collectors reach the operating system.
//
// Every service a collector needs is a virtual operation here, shaped like the
// Win32 call it stands for (same result codes, same buffer rules), so that the
// collectors read like code written against Win32 while a recorded machine can
// stand in for the real one. The shipping module links only the Win32 backend.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace kel {

// Registry result codes: the platform's own numbers.
enum RegResult : long {
    kRegSuccess = 0,
    kRegFileNotFound = 2,
    kRegAccessDenied = 5,
    kRegInvalidHandle = 6,
    kRegInvalidParameter = 87,
    kRegBadPathname = 161,
    kRegMoreData = 234,
    kRegNoMoreItems = 259,
};

// Access masks, as the platform defines them.
constexpr uint32_t kKeyQueryValue = 0x0001;
constexpr uint32_t kKeyRead = 0x20019;
constexpr uint32_t kKeyWow64_64Key = 0x0100;
constexpr uint32_t kKeyWow64_32Key = 0x0200;

// Registry value types.
enum RegType : uint32_t {
    kRegNone = 0,
    kRegSz = 1,
    kRegExpandSz = 2,
    kRegBinary = 3,
    kRegDword = 4,
    kRegMultiSz = 7,
    kRegQword = 11,
};

enum class RegRoot { LocalMachine, CurrentUser };

// An open key as the backend knows it; 0 is never a valid key.
using RegHandle = std::uintptr_t;

constexpr std::size_t kMaxPath = 260;

// The members of the platform's version record that are read, with the
// record size the caller asks for (156 extended, 148 short).
struct VersionRecord {
    uint32_t infoSize = 0;
    uint32_t majorVersion = 0;
    uint32_t minorVersion = 0;
    uint32_t buildNumber = 0;
    uint32_t platformId = 0;
    char csdVersion[128] = {};
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

struct CpuidRegs {
    uint32_t eax = 0, ebx = 0, ecx = 0, edx = 0;
};

constexpr uint32_t kNormalPriorityClass = 0x20;
constexpr uint32_t kHighPriorityClass = 0x80;

// The ten screen capabilities the display collector asks for, in its order.
struct ScreenCaps {
    int logPixelsY = 0;
    int horzRes = 0;
    int vertRes = 0;
    int bitsPixel = 0;
    int technology = 0;
    int horzSize = 0;
    int vertSize = 0;
    int aspectX = 0;
    int aspectY = 0;
    int aspectXY = 0;
};

enum class MediaFamily { WaveOut, WaveIn, MidiOut, MidiIn, Aux, Mixer };
constexpr std::size_t kMediaFamilyCount = static_cast<std::size_t>(MediaFamily::Mixer) + 1;

// Multimedia result codes.
enum MediaResult : uint32_t {
    kMmSuccess = 0,
    kMmError = 1,
    kMmBadDeviceId = 2,
    kMmInvalidParameter = 11,
};

// The two members of a multimedia capability structure that are read. The
// name member has the platform's 32 bytes and need not be NUL-terminated.
struct MediaCaps {
    uint32_t driverVersion = 0;
    char productName[32] = {};
};

// Drive-type codes of the platform.
enum DriveType : uint32_t {
    kDriveUnknown = 0,
    kDriveNoRootDir = 1,
    kDriveRemovable = 2,
    kDriveFixed = 3,
    kDriveRemote = 4,
    kDriveCdrom = 5,
    kDriveRamdisk = 6,
};

struct DiskSpaceEx {
    uint64_t callerFreeBytes = 0;
    uint64_t totalBytes = 0;
    uint64_t totalFreeBytes = 0;
};

struct DiskSpace {
    uint32_t sectorsPerCluster = 0;
    uint32_t bytesPerSector = 0;
    uint32_t freeClusters = 0;
    uint32_t totalClusters = 0;
};

// A level-1 printer record laid out as the spooler lays it out: the text
// pointers point into the same buffer.
struct PrinterInfo1 {
    uint32_t flags;
    char* description;
    char* name;
    char* comment;
};
constexpr uint32_t kPrinterEnumLocal = 2;
constexpr uint32_t kPrinterEnumConnections = 4;
constexpr uint32_t kPrinterEnumIcon8 = 0x00800000;  // the flags of a printer record

// Shell special-folder numbers.
constexpr int kFolderStartup = 7;
constexpr int kFolderCommonStartup = 24;

using FindHandle = std::uintptr_t;  // 0 means no search is open

class Platform {
public:
    virtual ~Platform() = default;

    // Registry (ANSI forms).
    virtual long regOpenKey(RegRoot root, const char* path, uint32_t access, RegHandle* key) = 0;
    virtual long regCloseKey(RegHandle key) = 0;
    virtual long regQueryInfoKey(RegHandle key, uint32_t* subKeys, uint32_t* values) = 0;
    // name: buffer of nameSize bytes; the name and its NUL must fit.
    virtual long regEnumKey(RegHandle key, uint32_t index, char* name, uint32_t nameSize) = 0;
    // nameSize and dataSize are in/out as for the platform call; data may be null.
    virtual long regEnumValue(RegHandle key, uint32_t index, char* name, uint32_t* nameSize, uint32_t* type,
                              uint8_t* data, uint32_t* dataSize) = 0;
    virtual long regQueryValue(RegHandle key, const char* name, uint32_t* type, uint8_t* data,
                               uint32_t* dataSize) = 0;
    // True when both handles name the very same key (a key both registry
    // views share).
    virtual bool regSameKey(RegHandle a, RegHandle b) = 0;
    // True when the machine runs 64-bit Windows, so that the registry has
    // a 32-bit and a 64-bit view.
    virtual bool isWindows64() = 0;
    // The registry view the module itself sees by default.
    virtual uint32_t ownRegistryView() = 0;

    // Operating system.
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
    virtual uint32_t ansiCodePage() = 0;
    // Converts ANSI text of the machine's code page to UTF-16; false when
    // memory runs out.
    virtual bool ansiToUtf16(const char* text, std::size_t length, std::u16string* out) = 0;

    // Processor and clocks.
    virtual bool hasCpuid() = 0;
    virtual CpuidRegs cpuid(uint32_t leaf) = 0;
    virtual bool hasTimeStampCounter() = 0;
    virtual uint32_t readTimeStampCounter() = 0;  // low 32 bits
    virtual bool queryPerformanceFrequency(int64_t* frequency) = 0;
    virtual bool queryPerformanceCounter(int64_t* counter) = 0;
    virtual uint32_t getPriorityClass() = 0;
    virtual bool setPriorityClass(uint32_t priorityClass) = 0;

    // Screen and multimedia.
    virtual ScreenCaps getScreenCaps() = 0;
    virtual uint32_t mediaDeviceCount(MediaFamily family) = 0;
    // 0 on success, as the multimedia calls answer.
    virtual uint32_t mediaDeviceCaps(MediaFamily family, uint32_t device, MediaCaps* caps) = 0;

    // Drives.
    virtual uint32_t getLogicalDriveStrings(uint32_t bufferLength, char* buffer) = 0;
    virtual uint32_t getDriveType(const char* root) = 0;
    // Looks up, afresh on every call, whether the system library offers
    // the extended free-space query.
    virtual bool hasDiskFreeSpaceEx() = 0;
    virtual bool getDiskFreeSpaceEx(const char* root, DiskSpaceEx* space) = 0;
    virtual bool getDiskFreeSpace(const char* root, DiskSpace* space) = 0;
    virtual bool getVolumeInformation(const char* root, char* volumeName, uint32_t volumeNameSize,
                                      uint32_t* serial, char* fileSystem, uint32_t fileSystemSize) = 0;

    // Print spooler, as EnumPrintersA with no server name.
    virtual bool enumPrinters(uint32_t flags, uint32_t level, uint8_t* buffer, uint32_t bufferSize,
                              uint32_t* needed, uint32_t* returned) = 0;

    // Shell folders and file search.
    // The file-system path of a special folder into a kMaxPath buffer.
    virtual bool getSpecialFolderPath(int folder, char* path) = 0;
    // fileName receives at most kMaxPath bytes with its NUL.
    virtual FindHandle findFirstFile(const char* pattern, char* fileName) = 0;
    virtual bool findNextFile(FindHandle search, char* fileName) = 0;
    virtual void findClose(FindHandle search) = 0;
};

// The platform in force for this module.
Platform& platform();

// Puts another platform in force for the lifetime of the object (tests and
// the command-line tool); the previous one comes back afterwards.
class ScopedPlatform {
public:
    explicit ScopedPlatform(Platform& replacement);
    ~ScopedPlatform();
    ScopedPlatform(const ScopedPlatform&) = delete;
    ScopedPlatform& operator=(const ScopedPlatform&) = delete;

private:
    Platform* previous_;
};

}  // namespace kel
