// The seam's numbers and records against the platform's own headers, checked
// by the compiler in every Windows build. The seam copies these numbers so that
// collectors and recorded machines never include a Windows header; a copy that
// drifts, or a record whose layout differs in one of the two builds, fails here.
#include "platform/Platform.h"

#include <windows.h>
#include <mmsystem.h>
#include <shlobj.h>
#include <winspool.h>

#include <cstddef>

namespace kel {
namespace {

constexpr bool kWide = sizeof(void*) == 8;

// Registry.
static_assert(kRegSuccess == ERROR_SUCCESS, "kRegSuccess");
static_assert(kRegFileNotFound == ERROR_FILE_NOT_FOUND, "kRegFileNotFound");
static_assert(kRegAccessDenied == ERROR_ACCESS_DENIED, "kRegAccessDenied");
static_assert(kRegInvalidHandle == ERROR_INVALID_HANDLE, "kRegInvalidHandle");
static_assert(kRegInvalidParameter == ERROR_INVALID_PARAMETER, "kRegInvalidParameter");
static_assert(kRegBadPathname == ERROR_BAD_PATHNAME, "kRegBadPathname");
static_assert(kRegMoreData == ERROR_MORE_DATA, "kRegMoreData");
static_assert(kRegNoMoreItems == ERROR_NO_MORE_ITEMS, "kRegNoMoreItems");
static_assert(sizeof(RegResult) == sizeof(LONG), "registry results are LONGs");
static_assert(kKeyQueryValue == KEY_QUERY_VALUE, "kKeyQueryValue");
static_assert(kKeyRead == KEY_READ, "kKeyRead");
static_assert(kKeyWow64_64Key == KEY_WOW64_64KEY, "kKeyWow64_64Key");
static_assert(kKeyWow64_32Key == KEY_WOW64_32KEY, "kKeyWow64_32Key");
static_assert(kRegNone == REG_NONE, "kRegNone");
static_assert(kRegSz == REG_SZ, "kRegSz");
static_assert(kRegExpandSz == REG_EXPAND_SZ, "kRegExpandSz");
static_assert(kRegBinary == REG_BINARY, "kRegBinary");
static_assert(kRegDword == REG_DWORD, "kRegDword");
static_assert(kRegMultiSz == REG_MULTI_SZ, "kRegMultiSz");
static_assert(kRegQword == REG_QWORD, "kRegQword");
static_assert(sizeof(RegHandle) == sizeof(HKEY), "a key handle fits the seam's handle");

// Paths and file searches.
static_assert(kMaxPath == MAX_PATH, "kMaxPath");
static_assert(sizeof(FindHandle) == sizeof(HANDLE), "a search handle fits the seam's handle");
static_assert(sizeof(WIN32_FIND_DATAA) == 320, "WIN32_FIND_DATAA");
static_assert(offsetof(WIN32_FIND_DATAA, cFileName) == 44, "cFileName");
static_assert(sizeof(WIN32_FIND_DATAA::cFileName) == kMaxPath, "cFileName");

// Version records: the seam asks for 156 or 148 bytes and reads the short
// record's members through the extended one.
static_assert(kVersionRecordExSize == sizeof(OSVERSIONINFOEXA), "kVersionRecordExSize");
static_assert(kVersionRecordSize == sizeof(OSVERSIONINFOA), "kVersionRecordSize");
static_assert(sizeof(OSVERSIONINFOA) == 148, "OSVERSIONINFOA");
static_assert(offsetof(OSVERSIONINFOA, dwOSVersionInfoSize) == 0, "dwOSVersionInfoSize");
static_assert(offsetof(OSVERSIONINFOA, dwMajorVersion) == 4, "dwMajorVersion");
static_assert(offsetof(OSVERSIONINFOA, dwMinorVersion) == 8, "dwMinorVersion");
static_assert(offsetof(OSVERSIONINFOA, dwBuildNumber) == 12, "dwBuildNumber");
static_assert(offsetof(OSVERSIONINFOA, dwPlatformId) == 16, "dwPlatformId");
static_assert(offsetof(OSVERSIONINFOA, szCSDVersion) == 20, "szCSDVersion");
static_assert(sizeof(OSVERSIONINFOEXA) == 156, "OSVERSIONINFOEXA");
static_assert(offsetof(OSVERSIONINFOEXA, dwOSVersionInfoSize) == 0, "dwOSVersionInfoSize");
static_assert(offsetof(OSVERSIONINFOEXA, dwMajorVersion) == 4, "dwMajorVersion");
static_assert(offsetof(OSVERSIONINFOEXA, dwMinorVersion) == 8, "dwMinorVersion");
static_assert(offsetof(OSVERSIONINFOEXA, dwBuildNumber) == 12, "dwBuildNumber");
static_assert(offsetof(OSVERSIONINFOEXA, dwPlatformId) == 16, "dwPlatformId");
static_assert(offsetof(OSVERSIONINFOEXA, szCSDVersion) == 20, "szCSDVersion");
static_assert(offsetof(OSVERSIONINFOEXA, wServicePackMajor) == 148, "wServicePackMajor");
static_assert(offsetof(OSVERSIONINFOEXA, wServicePackMinor) == 150, "wServicePackMinor");
static_assert(offsetof(OSVERSIONINFOEXA, wSuiteMask) == 152, "wSuiteMask");
static_assert(offsetof(OSVERSIONINFOEXA, wProductType) == 154, "wProductType");
static_assert(offsetof(OSVERSIONINFOEXA, wReserved) == 155, "wReserved");
static_assert(sizeof(VersionRecord::csdVersion) == sizeof(OSVERSIONINFOA::szCSDVersion), "csdVersion");
static_assert(sizeof(OSVERSIONINFOW) == 276, "OSVERSIONINFOW, the record RtlGetVersion fills");
static_assert(kWin32s == VER_PLATFORM_WIN32s, "kWin32s");
static_assert(kWindows95Family == VER_PLATFORM_WIN32_WINDOWS, "kWindows95Family");
static_assert(kWindowsNT == VER_PLATFORM_WIN32_NT, "kWindowsNT");

// Memory: the older record's figures are as wide as a pointer, the extended
// record's always 64 bits.
static_assert(sizeof(MEMORYSTATUS) == (kWide ? 56 : 32), "MEMORYSTATUS");
static_assert(offsetof(MEMORYSTATUS, dwLength) == 0, "dwLength");
static_assert(offsetof(MEMORYSTATUS, dwMemoryLoad) == 4, "dwMemoryLoad");
static_assert(offsetof(MEMORYSTATUS, dwTotalPhys) == 8, "dwTotalPhys");
static_assert(offsetof(MEMORYSTATUS, dwAvailPhys) == (kWide ? 16 : 12), "dwAvailPhys");
static_assert(offsetof(MEMORYSTATUS, dwTotalPageFile) == (kWide ? 24 : 16), "dwTotalPageFile");
static_assert(offsetof(MEMORYSTATUS, dwAvailPageFile) == (kWide ? 32 : 20), "dwAvailPageFile");
static_assert(offsetof(MEMORYSTATUS, dwTotalVirtual) == (kWide ? 40 : 24), "dwTotalVirtual");
static_assert(offsetof(MEMORYSTATUS, dwAvailVirtual) == (kWide ? 48 : 28), "dwAvailVirtual");
static_assert(sizeof(MEMORYSTATUS::dwTotalPhys) <= sizeof(MemoryStatus::totalPhys), "figures fit");
static_assert(sizeof(MEMORYSTATUSEX) == 64, "MEMORYSTATUSEX");
static_assert(offsetof(MEMORYSTATUSEX, dwLength) == 0, "dwLength");
static_assert(offsetof(MEMORYSTATUSEX, dwMemoryLoad) == 4, "dwMemoryLoad");
static_assert(offsetof(MEMORYSTATUSEX, ullTotalPhys) == 8, "ullTotalPhys");
static_assert(offsetof(MEMORYSTATUSEX, ullAvailPhys) == 16, "ullAvailPhys");
static_assert(offsetof(MEMORYSTATUSEX, ullTotalPageFile) == 24, "ullTotalPageFile");
static_assert(offsetof(MEMORYSTATUSEX, ullAvailPageFile) == 32, "ullAvailPageFile");
static_assert(offsetof(MEMORYSTATUSEX, ullTotalVirtual) == 40, "ullTotalVirtual");
static_assert(offsetof(MEMORYSTATUSEX, ullAvailVirtual) == 48, "ullAvailVirtual");
static_assert(offsetof(MEMORYSTATUSEX, ullAvailExtendedVirtual) == 56, "ullAvailExtendedVirtual");
static_assert(sizeof(MEMORYSTATUSEX::ullTotalPhys) == sizeof(MemoryStatus::totalPhys), "figures fit");

// System information.
static_assert(sizeof(SYSTEM_INFO) == (kWide ? 48 : 36), "SYSTEM_INFO");
static_assert(offsetof(SYSTEM_INFO, dwPageSize) == 4, "dwPageSize");
static_assert(offsetof(SYSTEM_INFO, dwNumberOfProcessors) == (kWide ? 32 : 20), "dwNumberOfProcessors");
static_assert(offsetof(SYSTEM_INFO, dwAllocationGranularity) == (kWide ? 40 : 28), "dwAllocationGranularity");
static_assert(kNormalPriorityClass == NORMAL_PRIORITY_CLASS, "kNormalPriorityClass");
static_assert(kHighPriorityClass == HIGH_PRIORITY_CLASS, "kHighPriorityClass");

// Multimedia capability records: the seam reads the driver version and the
// 32-byte product name, at the same place in all six.
template <typename Caps>
constexpr bool capsLayout(std::size_t size)
{
    return sizeof(Caps) == size && offsetof(Caps, vDriverVersion) == 4 && offsetof(Caps, szPname) == 8 &&
           sizeof(Caps::vDriverVersion) == sizeof(MediaCaps::driverVersion) &&
           sizeof(Caps::szPname) == sizeof(MediaCaps::productName);
}
static_assert(capsLayout<WAVEOUTCAPSA>(52), "WAVEOUTCAPSA");
static_assert(capsLayout<WAVEINCAPSA>(48), "WAVEINCAPSA");
static_assert(capsLayout<MIDIOUTCAPSA>(52), "MIDIOUTCAPSA");
static_assert(capsLayout<MIDIINCAPSA>(44), "MIDIINCAPSA");
static_assert(capsLayout<AUXCAPSA>(48), "AUXCAPSA");
static_assert(capsLayout<MIXERCAPSA>(48), "MIXERCAPSA");
static_assert(sizeof(MediaCaps::productName) == MAXPNAMELEN, "productName");
static_assert(kMmSuccess == MMSYSERR_NOERROR, "kMmSuccess");
static_assert(kMmError == MMSYSERR_ERROR, "kMmError");
static_assert(kMmBadDeviceId == MMSYSERR_BADDEVICEID, "kMmBadDeviceId");
static_assert(kMmInvalidParameter == MMSYSERR_INVALPARAM, "kMmInvalidParameter");

// Drives.
static_assert(kDriveUnknown == DRIVE_UNKNOWN, "kDriveUnknown");
static_assert(kDriveNoRootDir == DRIVE_NO_ROOT_DIR, "kDriveNoRootDir");
static_assert(kDriveRemovable == DRIVE_REMOVABLE, "kDriveRemovable");
static_assert(kDriveFixed == DRIVE_FIXED, "kDriveFixed");
static_assert(kDriveRemote == DRIVE_REMOTE, "kDriveRemote");
static_assert(kDriveCdrom == DRIVE_CDROM, "kDriveCdrom");
static_assert(kDriveRamdisk == DRIVE_RAMDISK, "kDriveRamdisk");

// Printers: the seam's record is the spooler's level-1 record itself.
static_assert(sizeof(PrinterInfo1) == sizeof(PRINTER_INFO_1A), "PrinterInfo1 mirrors PRINTER_INFO_1A");
static_assert(sizeof(PRINTER_INFO_1A) == (kWide ? 32 : 16), "PRINTER_INFO_1A");
static_assert(offsetof(PrinterInfo1, flags) == offsetof(PRINTER_INFO_1A, Flags), "flags");
static_assert(offsetof(PrinterInfo1, description) == offsetof(PRINTER_INFO_1A, pDescription), "description");
static_assert(offsetof(PrinterInfo1, name) == offsetof(PRINTER_INFO_1A, pName), "name");
static_assert(offsetof(PrinterInfo1, comment) == offsetof(PRINTER_INFO_1A, pComment), "comment");
static_assert(sizeof(PrinterInfo1::flags) == sizeof(PRINTER_INFO_1A::Flags), "flags");
static_assert(kPrinterEnumLocal == PRINTER_ENUM_LOCAL, "kPrinterEnumLocal");
static_assert(kPrinterEnumConnections == PRINTER_ENUM_CONNECTIONS, "kPrinterEnumConnections");
static_assert(kPrinterEnumIcon8 == PRINTER_ENUM_ICON8, "kPrinterEnumIcon8");

// Shell folders.
static_assert(kFolderStartup == CSIDL_STARTUP, "kFolderStartup");
static_assert(kFolderCommonStartup == CSIDL_COMMON_STARTUP, "kFolderCommonStartup");

}  // namespace
}  // namespace kel
