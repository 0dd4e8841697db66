#include "platform/win32/Win32Platform.h"

// The NT status codes come from their own header, which winnt.h's partial
// set would otherwise collide with.
#define WIN32_NO_STATUS
#include <windows.h>
#undef WIN32_NO_STATUS
#include <ntstatus.h>
#include <mmdeviceapi.h>
#include <mmsystem.h>
#include <shlobj.h>
#include <winspool.h>

#include "platform/win32/SystemLibrary.h"

#include <cpuid.h>
#include <x86intrin.h>

#include <climits>
#include <cstddef>
#include <cwchar>
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <utility>
#include <vector>

namespace kel {

namespace {

constexpr uint32_t kCpuidEflagsId = 0x200000;         // EFLAGS bit 21
constexpr uint32_t kCpuidTimeStampCounter = 1u << 4;  // leaf 1, EDX

HKEY rootKey(RegRoot root)
{
    switch (root) {
    case RegRoot::LocalMachine:
        return HKEY_LOCAL_MACHINE;
    case RegRoot::CurrentUser:
        return HKEY_CURRENT_USER;
    }
    return nullptr;
}

HKEY toKey(RegHandle key) { return reinterpret_cast<HKEY>(key); }


using NtQueryKeyFunction = LONG(WINAPI*)(HANDLE, int, void*, ULONG, ULONG*);
using IsWow64ProcessFunction = BOOL(WINAPI*)(HANDLE, BOOL*);
using RtlGetVersionFunction = LONG(WINAPI*)(OSVERSIONINFOW*);
using GlobalMemoryStatusExFunction = BOOL(WINAPI*)(MEMORYSTATUSEX*);
using GetActiveProcessorCountFunction = DWORD(WINAPI*)(WORD);
using CmLocateDevNodeFunction = DWORD(WINAPI*)(DWORD*, char*, ULONG);
using GetDiskFreeSpaceExFunction = BOOL(WINAPI*)(LPCSTR, ULARGE_INTEGER*, ULARGE_INTEGER*, ULARGE_INTEGER*);

// The key's full name in the registry namespace (\REGISTRY\MACHINE\...),
// empty when the system cannot tell.
std::vector<uint8_t> fullKeyName(NtQueryKeyFunction query, RegHandle key)
{
    constexpr int kKeyNameInformation = 3;
    std::vector<uint8_t> name(512);
    ULONG needed = 0;
    LONG status =
        query(toKey(key), kKeyNameInformation, name.data(), static_cast<ULONG>(name.size()), &needed);
    if (status == STATUS_BUFFER_OVERFLOW || status == STATUS_BUFFER_TOO_SMALL) {
        name.resize(needed);
        status =
            query(toKey(key), kKeyNameInformation, name.data(), static_cast<ULONG>(name.size()), &needed);
    }
    if (status < 0 || needed > name.size())
        return {};
    name.resize(needed);
    return name;
}

template <typename Caps, typename Query>
uint32_t readMediaCaps(Query query, uint32_t device, MediaCaps* out)
{
    Caps caps{};
    MMRESULT result = query(device, &caps, sizeof caps);
    if (result == MMSYSERR_NOERROR) {
        static_assert(sizeof caps.szPname == sizeof out->productName, "the platform's 32 bytes");
        out->driverVersion = caps.vDriverVersion;
        std::memcpy(out->productName, caps.szPname, sizeof out->productName);
    }
    return result;
}

void releaseScreenDc(HDC dc) { ReleaseDC(nullptr, dc); }
using ScreenDc = std::unique_ptr<HDC__, decltype(&releaseScreenDc)>;

void freeItemList(ITEMIDLIST* list)
{
    IMalloc* allocator = nullptr;
    if (SUCCEEDED(SHGetMalloc(&allocator))) {
        allocator->Free(list);
        allocator->Release();
    }
}
using ItemList = std::unique_ptr<ITEMIDLIST, decltype(&freeItemList)>;

void copyFoundName(const WIN32_FIND_DATAA& found, char* fileName)
{
    static_assert(sizeof found.cFileName == kMaxPath, "the platform's path limit");
    std::memcpy(fileName, found.cFileName, kMaxPath);
    fileName[kMaxPath - 1] = '\0';
}

uint64_t wide(ULARGE_INTEGER value) { return value.QuadPart; }

// CM_Locate_DevNodeA, or null where cfgmgr32 lacks it. The library stays
// loaded for the life of the process: loading it for each device costs 10 ms
// under Wine, and freeing it as the module unloads would call the loader
// from inside the loader's lock.
CmLocateDevNodeFunction configurationManagerLocate()
{
    return moduleFunction<CmLocateDevNodeFunction>(LoadLibraryA("cfgmgr32.dll"), "CM_Locate_DevNodeA");
}

// COM for the calling thread for the lifetime of the object: a thread that
// had none gets it and gives it back; one already in an apartment of either
// kind keeps it as it was.
class ThreadCom {
public:
    ThreadCom() : result_(CoInitializeEx(nullptr, COINIT_MULTITHREADED)) {}
    ~ThreadCom()
    {
        if (SUCCEEDED(result_))
            CoUninitialize();
    }
    ThreadCom(const ThreadCom&) = delete;
    ThreadCom& operator=(const ThreadCom&) = delete;

private:
    HRESULT result_;
};

struct ReleaseInterface {
    void operator()(IUnknown* object) const { object->Release(); }
};
template <typename Interface>
using Held = std::unique_ptr<Interface, ReleaseInterface>;

class Property {
public:
    Property() { PropVariantInit(&value); }
    ~Property() { PropVariantClear(&value); }
    Property(const Property&) = delete;
    Property& operator=(const Property&) = delete;

    PROPVARIANT value;
};

// {026e516e-b814-414b-83cd-856d6fef4822}, 2: the adapter's name.
const PROPERTYKEY kDeviceInterfaceFriendlyName = {
    {0x026e516e, 0xb814, 0x414b, {0x83, 0xcd, 0x85, 0x6d, 0x6f, 0xef, 0x48, 0x22}}, 2};
// Longer than any report line could hold.
constexpr std::size_t kMaxEndpointName = 1024;

// The ANSI text of a name, "?" for what the code page lacks (no best-fit
// look-alikes); a UTF-8 code page takes neither setting.
bool ansiText(const wchar_t* text, int length, std::string* out)
{
    const bool utf8 = GetACP() == CP_UTF8;
    const DWORD flags = utf8 ? 0 : WC_NO_BEST_FIT_CHARS;
    const char* unknown = utf8 ? nullptr : "?";
    int size = WideCharToMultiByte(CP_ACP, flags, text, length, nullptr, 0, unknown, nullptr);
    if (size <= 0)
        return false;
    std::string converted(static_cast<std::size_t>(size), '\0');
    if (WideCharToMultiByte(CP_ACP, flags, text, length, &converted[0], size, unknown, nullptr) != size)
        return false;
    *out = std::move(converted);
    return true;
}

}  // namespace

long Win32Platform::regOpenKey(RegRoot root, const char* path, uint32_t access, RegHandle* key)
{
    HKEY opened = nullptr;
    long result = RegOpenKeyExA(rootKey(root), path, 0, access, &opened);
    *key = result == ERROR_SUCCESS ? reinterpret_cast<RegHandle>(opened) : 0;
    return result;
}

long Win32Platform::regCloseKey(RegHandle key) { return RegCloseKey(toKey(key)); }

long Win32Platform::regQueryInfoKey(RegHandle key, uint32_t* subKeys, uint32_t* values)
{
    DWORD subKeyCount = 0;
    DWORD valueCount = 0;
    long result = RegQueryInfoKeyA(toKey(key), nullptr, nullptr, nullptr, &subKeyCount, nullptr, nullptr,
                                   &valueCount, nullptr, nullptr, nullptr, nullptr);
    if (result == ERROR_SUCCESS) {
        if (subKeys)
            *subKeys = subKeyCount;
        if (values)
            *values = valueCount;
    }
    return result;
}

long Win32Platform::regEnumKey(RegHandle key, uint32_t index, char* name, uint32_t nameSize)
{
    return RegEnumKeyA(toKey(key), index, name, nameSize);
}

// The in/out sizes pass through DWORD copies of the caller's figures, so
// that the caller sees exactly what the system wrote or left alone.
long Win32Platform::regEnumValue(RegHandle key, uint32_t index, char* name, uint32_t* nameSize,
                                 uint32_t* type, uint8_t* data, uint32_t* dataSize)
{
    DWORD nameLength = *nameSize;
    DWORD valueType = type ? *type : 0;
    DWORD dataLength = dataSize ? *dataSize : 0;
    long result = RegEnumValueA(toKey(key), index, name, &nameLength, nullptr, type ? &valueType : nullptr,
                                data, dataSize ? &dataLength : nullptr);
    *nameSize = nameLength;
    if (type)
        *type = valueType;
    if (dataSize)
        *dataSize = dataLength;
    return result;
}

long Win32Platform::regQueryValue(RegHandle key, const char* name, uint32_t* type, uint8_t* data,
                                  uint32_t* dataSize)
{
    DWORD valueType = type ? *type : 0;
    DWORD dataLength = dataSize ? *dataSize : 0;
    long result = RegQueryValueExA(toKey(key), name, nullptr, type ? &valueType : nullptr, data,
                                   dataSize ? &dataLength : nullptr);
    if (type)
        *type = valueType;
    if (dataSize)
        *dataSize = dataLength;
    return result;
}

bool Win32Platform::regSameKey(RegHandle a, RegHandle b)
{
    auto query = systemFunction<NtQueryKeyFunction>("ntdll.dll", "NtQueryKey");
    if (!query)
        return false;
    std::vector<uint8_t> nameA = fullKeyName(query, a);
    return !nameA.empty() && nameA == fullKeyName(query, b);
}

bool Win32Platform::isWindows64()
{
    if (sizeof(void*) == 8)
        return true;
    auto isWow64 = systemFunction<IsWow64ProcessFunction>("kernel32.dll", "IsWow64Process");
    BOOL wow64 = FALSE;
    return isWow64 && isWow64(GetCurrentProcess(), &wow64) && wow64;
}

uint32_t Win32Platform::ownRegistryView() { return sizeof(void*) == 8 ? kKeyWow64_64Key : kKeyWow64_32Key; }

bool Win32Platform::getVersion(VersionRecord* record)
{
    OSVERSIONINFOEXA info{};
    // The system never sees a size larger than the record held here.
    if (record->infoSize > sizeof info)
        return false;
    info.dwOSVersionInfoSize = record->infoSize;
    if (!GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&info)))
        return false;
    record->majorVersion = info.dwMajorVersion;
    record->minorVersion = info.dwMinorVersion;
    record->buildNumber = info.dwBuildNumber;
    record->platformId = info.dwPlatformId;
    std::memcpy(record->csdVersion, info.szCSDVersion, sizeof record->csdVersion);
    record->productType = record->infoSize == sizeof info ? info.wProductType : 0;
    return true;
}

// Windows 8.1 and later answer GetVersionExA with 6.2 unless the host's
// manifest names them; RtlGetVersion tells the truth.
bool Win32Platform::getTrueVersion(uint32_t* major, uint32_t* minor, uint32_t* build)
{
    auto query = systemFunction<RtlGetVersionFunction>("ntdll.dll", "RtlGetVersion");
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof info;
    if (!query || query(&info) < 0)
        return false;
    *major = info.dwMajorVersion;
    *minor = info.dwMinorVersion;
    *build = info.dwBuildNumber;
    return true;
}

void Win32Platform::globalMemoryStatus(MemoryStatus* status)
{
    MEMORYSTATUS memory{};
    memory.dwLength = sizeof memory;
    GlobalMemoryStatus(&memory);
    status->memoryLoad = memory.dwMemoryLoad;
    status->totalPhys = memory.dwTotalPhys;
    status->availPhys = memory.dwAvailPhys;
    status->totalPageFile = memory.dwTotalPageFile;
    status->availPageFile = memory.dwAvailPageFile;
    status->totalVirtual = memory.dwTotalVirtual;
    status->availVirtual = memory.dwAvailVirtual;
}

bool Win32Platform::globalMemoryStatusEx(MemoryStatus* status)
{
    auto query = systemFunction<GlobalMemoryStatusExFunction>("kernel32.dll", "GlobalMemoryStatusEx");
    MEMORYSTATUSEX memory{};
    memory.dwLength = sizeof memory;
    if (!query || !query(&memory))
        return false;
    status->memoryLoad = memory.dwMemoryLoad;
    status->totalPhys = memory.ullTotalPhys;
    status->availPhys = memory.ullAvailPhys;
    status->totalPageFile = memory.ullTotalPageFile;
    status->availPageFile = memory.ullAvailPageFile;
    status->totalVirtual = memory.ullTotalVirtual;
    status->availVirtual = memory.ullAvailVirtual;
    return true;
}

void Win32Platform::getSystemInfo(SystemInfo* info)
{
    SYSTEM_INFO system{};
    GetSystemInfo(&system);
    info->pageSize = system.dwPageSize;
    info->allocationGranularity = system.dwAllocationGranularity;
    info->numberOfProcessors = system.dwNumberOfProcessors;
}

uint32_t Win32Platform::activeProcessorCount()
{
    constexpr WORD kAllProcessorGroups = 0xFFFF;  // ALL_PROCESSOR_GROUPS, which this build's headers hide
    auto count = systemFunction<GetActiveProcessorCountFunction>("kernel32.dll", "GetActiveProcessorCount");
    return count ? count(kAllProcessorGroups) : 0;
}

uint32_t Win32Platform::ansiCodePage() { return GetACP(); }

bool Win32Platform::ansiToUtf16(const char* text, std::size_t length, std::u16string* out)
{
    static_assert(sizeof(wchar_t) == sizeof(char16_t), "UTF-16 on this platform");
    if (length == 0) {
        out->clear();
        return true;
    }
    if (length > INT_MAX)
        return false;
    int count = MultiByteToWideChar(CP_ACP, 0, text, static_cast<int>(length), nullptr, 0);
    if (count <= 0)
        return false;
    try {
        out->assign(static_cast<std::size_t>(count), u'\0');
    } catch (const std::bad_alloc&) {
        return false;
    }
    return MultiByteToWideChar(CP_ACP, 0, text, static_cast<int>(length),
                               reinterpret_cast<wchar_t*>(&(*out)[0]), count) == count;
}

bool Win32Platform::hasCpuid()
{
#if defined(__x86_64__)
    return true;
#else
    // The instruction exists when the ID flag of EFLAGS can be toggled.
    uint32_t before = 0;
    uint32_t after = 0;
    __asm__ volatile(
        "pushfl\n\t"
        "pushfl\n\t"
        "popl %0\n\t"
        "movl %0, %1\n\t"
        "xorl %2, %1\n\t"
        "pushl %1\n\t"
        "popfl\n\t"
        "pushfl\n\t"
        "popl %1\n\t"
        "popfl\n\t"
        : "=&r"(before), "=&r"(after)
        : "i"(kCpuidEflagsId)
        : "cc");
    return ((before ^ after) & kCpuidEflagsId) != 0;
#endif
}

CpuidRegs Win32Platform::cpuid(uint32_t leaf)
{
    CpuidRegs regs;
    unsigned int eax = 0, ebx = 0, ecx = 0, edx = 0;
    __cpuid_count(leaf, 0, eax, ebx, ecx, edx);
    regs.eax = eax;
    regs.ebx = ebx;
    regs.ecx = ecx;
    regs.edx = edx;
    return regs;
}

bool Win32Platform::hasTimeStampCounter()
{
    return hasCpuid() && cpuid(0).eax >= 1 && (cpuid(1).edx & kCpuidTimeStampCounter) != 0;
}

uint32_t Win32Platform::readTimeStampCounter() { return static_cast<uint32_t>(__rdtsc()); }

bool Win32Platform::queryPerformanceFrequency(int64_t* frequency)
{
    LARGE_INTEGER value{};
    if (!QueryPerformanceFrequency(&value))
        return false;
    *frequency = value.QuadPart;
    return true;
}

bool Win32Platform::queryPerformanceCounter(int64_t* counter)
{
    LARGE_INTEGER value{};
    if (!QueryPerformanceCounter(&value))
        return false;
    *counter = value.QuadPart;
    return true;
}

uint32_t Win32Platform::getPriorityClass() { return GetPriorityClass(GetCurrentProcess()); }

bool Win32Platform::setPriorityClass(uint32_t priorityClass)
{
    return SetPriorityClass(GetCurrentProcess(), priorityClass) != FALSE;
}

ScreenCaps Win32Platform::getScreenCaps()
{
    ScreenCaps caps;
    ScreenDc dc(GetDC(nullptr), &releaseScreenDc);
    if (!dc)
        return caps;
    caps.logPixelsY = GetDeviceCaps(dc.get(), LOGPIXELSY);
    caps.horzRes = GetDeviceCaps(dc.get(), HORZRES);
    caps.vertRes = GetDeviceCaps(dc.get(), VERTRES);
    caps.bitsPixel = GetDeviceCaps(dc.get(), BITSPIXEL);
    caps.technology = GetDeviceCaps(dc.get(), TECHNOLOGY);
    caps.horzSize = GetDeviceCaps(dc.get(), HORZSIZE);
    caps.vertSize = GetDeviceCaps(dc.get(), VERTSIZE);
    caps.aspectX = GetDeviceCaps(dc.get(), ASPECTX);
    caps.aspectY = GetDeviceCaps(dc.get(), ASPECTY);
    caps.aspectXY = GetDeviceCaps(dc.get(), ASPECTXY);
    return caps;
}

uint32_t Win32Platform::mediaDeviceCount(MediaFamily family)
{
    switch (family) {
    case MediaFamily::WaveOut:
        return waveOutGetNumDevs();
    case MediaFamily::WaveIn:
        return waveInGetNumDevs();
    case MediaFamily::MidiOut:
        return midiOutGetNumDevs();
    case MediaFamily::MidiIn:
        return midiInGetNumDevs();
    case MediaFamily::Aux:
        return auxGetNumDevs();
    case MediaFamily::Mixer:
        return mixerGetNumDevs();
    }
    return 0;
}

uint32_t Win32Platform::mediaDeviceCaps(MediaFamily family, uint32_t device, MediaCaps* caps)
{
    switch (family) {
    case MediaFamily::WaveOut:
        return readMediaCaps<WAVEOUTCAPSA>(waveOutGetDevCapsA, device, caps);
    case MediaFamily::WaveIn:
        return readMediaCaps<WAVEINCAPSA>(waveInGetDevCapsA, device, caps);
    case MediaFamily::MidiOut:
        return readMediaCaps<MIDIOUTCAPSA>(midiOutGetDevCapsA, device, caps);
    case MediaFamily::MidiIn:
        return readMediaCaps<MIDIINCAPSA>(midiInGetDevCapsA, device, caps);
    case MediaFamily::Aux:
        return readMediaCaps<AUXCAPSA>(auxGetDevCapsA, device, caps);
    case MediaFamily::Mixer:
        return readMediaCaps<MIXERCAPSA>(mixerGetDevCapsA, device, caps);
    }
    return MMSYSERR_BADDEVICEID;
}

uint32_t Win32Platform::getLogicalDriveStrings(uint32_t bufferLength, char* buffer)
{
    return GetLogicalDriveStringsA(bufferLength, buffer);
}

uint32_t Win32Platform::getDriveType(const char* root) { return GetDriveTypeA(root); }

bool Win32Platform::hasDiskFreeSpaceEx()
{
    return systemFunction<GetDiskFreeSpaceExFunction>("kernel32.dll", "GetDiskFreeSpaceExA") != nullptr;
}

bool Win32Platform::getDiskFreeSpaceEx(const char* root, DiskSpaceEx* space)
{
    auto query = systemFunction<GetDiskFreeSpaceExFunction>("kernel32.dll", "GetDiskFreeSpaceExA");
    ULARGE_INTEGER callerFree{}, total{}, totalFree{};
    if (!query || !query(root, &callerFree, &total, &totalFree))
        return false;
    space->callerFreeBytes = wide(callerFree);
    space->totalBytes = wide(total);
    space->totalFreeBytes = wide(totalFree);
    return true;
}

bool Win32Platform::getDiskFreeSpace(const char* root, DiskSpace* space)
{
    DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, totalClusters = 0;
    if (!GetDiskFreeSpaceA(root, &sectorsPerCluster, &bytesPerSector, &freeClusters, &totalClusters))
        return false;
    space->sectorsPerCluster = sectorsPerCluster;
    space->bytesPerSector = bytesPerSector;
    space->freeClusters = freeClusters;
    space->totalClusters = totalClusters;
    return true;
}

bool Win32Platform::getVolumeInformation(const char* root, char* volumeName, uint32_t volumeNameSize,
                                         uint32_t* serial, char* fileSystem, uint32_t fileSystemSize)
{
    DWORD serialNumber = 0, maximumComponentLength = 0, flags = 0;
    if (!GetVolumeInformationA(root, volumeName, volumeNameSize, &serialNumber, &maximumComponentLength,
                               &flags, fileSystem, fileSystemSize))
        return false;
    if (serial)
        *serial = serialNumber;
    return true;
}

bool Win32Platform::enumPrinters(uint32_t flags, uint32_t level, uint8_t* buffer, uint32_t bufferSize,
                                 uint32_t* needed, uint32_t* returned)
{
    DWORD bytesNeeded = 0, count = 0;
    BOOL ok = EnumPrintersA(flags, nullptr, level, buffer, bufferSize, &bytesNeeded, &count);
    *needed = bytesNeeded;
    *returned = count;
    return ok != FALSE;
}

bool Win32Platform::getSpecialFolderPath(int folder, char* path)
{
    ITEMIDLIST* found = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(GetDesktopWindow(), folder, &found)) || !found)
        return false;
    ItemList list(found, &freeItemList);
    return SHGetPathFromIDListA(list.get(), path) != FALSE;
}

FindHandle Win32Platform::findFirstFile(const char* pattern, char* fileName)
{
    WIN32_FIND_DATAA found{};
    HANDLE search = FindFirstFileA(pattern, &found);
    if (search == INVALID_HANDLE_VALUE)
        return 0;
    copyFoundName(found, fileName);
    return reinterpret_cast<FindHandle>(search);
}

bool Win32Platform::findNextFile(FindHandle search, char* fileName)
{
    WIN32_FIND_DATAA found{};
    if (!FindNextFileA(reinterpret_cast<HANDLE>(search), &found))
        return false;
    copyFoundName(found, fileName);
    return true;
}

void Win32Platform::findClose(FindHandle search)
{
    if (search != 0)
        FindClose(reinterpret_cast<HANDLE>(search));
}

uint32_t Win32Platform::locateDevNode(const char* instanceId)
{
    static const CmLocateDevNodeFunction locate = configurationManagerLocate();
    if (!locate)
        return kCrCallNotImplemented;
    constexpr ULONG kLocateNormal = 0;  // CM_LOCATE_DEVNODE_NORMAL: attached devices only
    std::string id(instanceId);
    DWORD node = 0;
    return locate(&node, &id[0], kLocateNormal);
}

bool Win32Platform::defaultAudioEndpointName(std::string* name)
{
    ThreadCom com;
    IMMDeviceEnumerator* found = nullptr;
    if (FAILED(CoCreateInstance(__uuidof(MMDeviceEnumerator), nullptr, CLSCTX_INPROC_SERVER,
                                __uuidof(IMMDeviceEnumerator), reinterpret_cast<void**>(&found))) ||
        !found)
        return false;
    Held<IMMDeviceEnumerator> enumerator(found);
    IMMDevice* endpoint = nullptr;
    if (FAILED(enumerator->GetDefaultAudioEndpoint(eRender, eConsole, &endpoint)) || !endpoint)
        return false;
    Held<IMMDevice> device(endpoint);
    IPropertyStore* opened = nullptr;
    if (FAILED(device->OpenPropertyStore(STGM_READ, &opened)) || !opened)
        return false;
    Held<IPropertyStore> store(opened);
    Property property;
    if (FAILED(store->GetValue(kDeviceInterfaceFriendlyName, &property.value)) ||
        property.value.vt != VT_LPWSTR || !property.value.pwszVal)
        return false;
    const std::size_t length = wcsnlen(property.value.pwszVal, kMaxEndpointName);
    if (length == 0 || length == kMaxEndpointName)
        return false;
    return ansiText(property.value.pwszVal, static_cast<int>(length), name);
}

}  // namespace kel
