// What tells one PC from another: names, adapters and firmware. The
// libraries and functions that the oldest supported systems lack
// (netapi32 on the Windows 95 family, iphlpapi before Windows 98 and NT 4.0
// SP4, the firmware table before Vista) are looked up at run time.
#include "platform/RegKey.h"
#include "platform/win32/SystemLibrary.h"
#include "platform/win32/Win32Platform.h"

#include <windows.h>
#include <iphlpapi.h>
#include <lm.h>
#include <shlobj.h>

#include <cstddef>
#include <cstring>
#include <memory>
#include <vector>

namespace kel {

namespace {

// The seam's copies of the platform's numbers.
static_assert(kFolderCommonAppData == CSIDL_COMMON_APPDATA, "kFolderCommonAppData");
static_assert(kComputerNameLength == MAX_COMPUTERNAME_LENGTH, "kComputerNameLength");
static_assert(kUserNameLength == UNLEN, "kUserNameLength");
static_assert(static_cast<int>(JoinStatus::Unknown) == NetSetupUnknownStatus, "JoinStatus::Unknown");
static_assert(static_cast<int>(JoinStatus::Unjoined) == NetSetupUnjoined, "JoinStatus::Unjoined");
static_assert(static_cast<int>(JoinStatus::Workgroup) == NetSetupWorkgroupName, "JoinStatus::Workgroup");
static_assert(static_cast<int>(JoinStatus::Domain) == NetSetupDomainName, "JoinStatus::Domain");
static_assert(kAdaptersNotSupported == ERROR_NOT_SUPPORTED, "kAdaptersNotSupported");
static_assert(kAdaptersNoData == ERROR_NO_DATA, "kAdaptersNoData");
static_assert(kAdapterAddressLength == MAX_ADAPTER_ADDRESS_LENGTH, "kAdapterAddressLength");
static_assert(kFirmwareRawSmbios == ('R' << 24 | 'S' << 16 | 'M' << 8 | 'B'), "kFirmwareRawSmbios");

// The adapter record's members that are read lie where the platform's DLL
// writes them in both bitnesses (the lease times after them differ with the
// width of time_t, and are not read).
constexpr bool kWide = sizeof(void*) == 8;
static_assert(offsetof(IP_ADAPTER_INFO, AdapterName) == (kWide ? 12 : 8), "AdapterName");
static_assert(offsetof(IP_ADAPTER_INFO, Description) == (kWide ? 272 : 268), "Description");
static_assert(offsetof(IP_ADAPTER_INFO, AddressLength) == (kWide ? 404 : 400), "AddressLength");
static_assert(offsetof(IP_ADAPTER_INFO, Address) == (kWide ? 408 : 404), "Address");
static_assert(offsetof(IP_ADAPTER_INFO, DhcpEnabled) == (kWide ? 424 : 420), "DhcpEnabled");
static_assert(offsetof(IP_ADAPTER_INFO, IpAddressList) == (kWide ? 440 : 428), "IpAddressList");
static_assert(offsetof(IP_ADAPTER_INFO, GatewayList) == (kWide ? 488 : 468), "GatewayList");
static_assert(offsetof(IP_ADAPTER_INFO, DhcpServer) == (kWide ? 536 : 508), "DhcpServer");
static_assert(sizeof(IP_ADDR_STRING) == (kWide ? 48 : 40), "IP_ADDR_STRING");

using NetGetJoinInformationFunction = DWORD(WINAPI*)(LPCWSTR, LPWSTR*, NETSETUP_JOIN_STATUS*);
using NetApiBufferFreeFunction = DWORD(WINAPI*)(void*);
using GetAdaptersInfoFunction = DWORD(WINAPI*)(IP_ADAPTER_INFO*, ULONG*);
using GetSystemFirmwareTableFunction = UINT(WINAPI*)(DWORD, DWORD, void*, DWORD);

// UTF-16 text in the ANSI code page; characters it lacks become '?'.
bool toAnsi(const wchar_t* text, std::string* out)
{
    int size = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 0)
        return false;
    std::vector<char> bytes(static_cast<std::size_t>(size));
    if (WideCharToMultiByte(CP_ACP, 0, text, -1, bytes.data(), size, nullptr, nullptr) != size)
        return false;
    *out = boundedText(bytes.data(), bytes.size(), bytes.size());
    return true;
}

template <std::size_t N>
std::string fieldText(const char (&field)[N])
{
    return boundedText(field, N, N);
}

std::vector<IpAddressPair> addressList(const IP_ADDR_STRING* entry)
{
    std::vector<IpAddressPair> list;
    for (; entry; entry = entry->Next)
        list.push_back(IpAddressPair{fieldText(entry->IpAddress.String), fieldText(entry->IpMask.String)});
    return list;
}

AdapterRecord adapterRecord(const IP_ADAPTER_INFO& info)
{
    AdapterRecord record;
    record.name = fieldText(info.AdapterName);
    record.description = fieldText(info.Description);
    record.addressLength = info.AddressLength < kAdapterAddressLength
                               ? info.AddressLength
                               : static_cast<uint32_t>(kAdapterAddressLength);
    std::memcpy(record.address, info.Address, record.addressLength);
    record.index = info.Index;
    record.type = info.Type;
    record.dhcpEnabled = info.DhcpEnabled != 0;
    if (record.dhcpEnabled)
        record.dhcpServer = fieldText(info.DhcpServer.IpAddress.String);
    record.addresses = addressList(&info.IpAddressList);
    record.gateways = addressList(&info.GatewayList);
    return record;
}

}  // namespace

bool Win32Platform::getComputerName(char* name, uint32_t* size)
{
    DWORD length = *size;
    BOOL ok = GetComputerNameA(name, &length);
    *size = length;
    return ok != FALSE;
}

bool Win32Platform::getUserName(char* name, uint32_t* size)
{
    DWORD length = *size;
    BOOL ok = GetUserNameA(name, &length);
    *size = length;
    return ok != FALSE;
}

bool Win32Platform::getJoinInformation(std::string* name, JoinStatus* status)
{
    Library netapi = loadLibrary("netapi32.dll");
    auto query = moduleFunction<NetGetJoinInformationFunction>(netapi.get(), "NetGetJoinInformation");
    auto release = moduleFunction<NetApiBufferFreeFunction>(netapi.get(), "NetApiBufferFree");
    if (!query || !release)
        return false;
    LPWSTR joined = nullptr;
    NETSETUP_JOIN_STATUS joinStatus = NetSetupUnknownStatus;
    if (query(nullptr, &joined, &joinStatus) != NERR_Success || !joined)
        return false;
    std::unique_ptr<wchar_t, NetApiBufferFreeFunction> owned(joined, release);
    *status = static_cast<JoinStatus>(joinStatus);
    return toAnsi(owned.get(), name);
}

uint32_t Win32Platform::getAdaptersInfo(std::vector<AdapterRecord>* adapters)
{
    adapters->clear();
    Library iphlpapi = loadLibrary("iphlpapi.dll");
    auto query = moduleFunction<GetAdaptersInfoFunction>(iphlpapi.get(), "GetAdaptersInfo");
    if (!query)
        return kAdaptersNotSupported;
    // The list can grow between the size query and the read; a few rounds
    // catch up with it.
    std::vector<uint8_t> buffer;
    ULONG size = 0;
    DWORD result = query(nullptr, &size);
    for (int round = 0; round < 4 && result == ERROR_BUFFER_OVERFLOW; ++round) {
        buffer.assign(size, 0);
        result = query(reinterpret_cast<IP_ADAPTER_INFO*>(buffer.data()), &size);
    }
    if (result != ERROR_SUCCESS)
        return result;
    for (auto* info = reinterpret_cast<const IP_ADAPTER_INFO*>(buffer.data()); info; info = info->Next)
        adapters->push_back(adapterRecord(*info));
    return kAdaptersSuccess;
}

uint32_t Win32Platform::getSystemFirmwareTable(uint32_t provider, uint32_t tableId, uint8_t* buffer,
                                               uint32_t size)
{
    auto query = systemFunction<GetSystemFirmwareTableFunction>("kernel32.dll", "GetSystemFirmwareTable");
    return query ? query(provider, tableId, buffer, size) : 0;
}

}  // namespace kel
