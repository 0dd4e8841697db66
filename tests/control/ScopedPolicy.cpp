#include "tests/control/ScopedPolicy.h"

#include <gtest/gtest.h>

#include <memory>
#include <type_traits>

namespace kel::test {

namespace {

const wchar_t kPolicyKey[] = L"SOFTWARE\\Policies\\Kel";

using KeyHandle = std::unique_ptr<std::remove_pointer_t<HKEY>, decltype(&RegCloseKey)>;

struct CountedText {
    USHORT length;
    USHORT maximumLength;
    const wchar_t* buffer;
};
using SetValueKey = LONG(NTAPI*)(HANDLE, const CountedText*, ULONG, ULONG, const void*, ULONG);

// Wine's RegSetValueExW adds a NUL to string data that lacks one; ntdll's
// NtSetValueKey stores the bytes as given, as Windows' registry keeps them.
LONG setRawValue(HKEY key, DWORD type, const void* data, DWORD bytes)
{
    static const wchar_t name[] = L"AllowedSites";
    const CountedText counted = {sizeof name - sizeof(wchar_t), sizeof name, name};
    auto set = reinterpret_cast<SetValueKey>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtSetValueKey")));
    return set ? set(key, &counted, 0, type, data, bytes) : -1;
}

}  // namespace

ScopedPolicy::ScopedPolicy(DWORD type, const void* data, DWORD bytes)
{
    HKEY raw = nullptr;
    EXPECT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_LOCAL_MACHINE, kPolicyKey, 0, nullptr, 0,
                                             KEY_SET_VALUE | KEY_WOW64_64KEY, nullptr, &raw, nullptr));
    const KeyHandle key(raw, RegCloseKey);
    EXPECT_EQ(0, setRawValue(key.get(), type, data, bytes)) << "NtSetValueKey";
}

ScopedPolicy::ScopedPolicy(const std::wstring& sites)
    : ScopedPolicy(REG_SZ, sites.c_str(), static_cast<DWORD>((sites.size() + 1) * sizeof(wchar_t)))
{
}

ScopedPolicy::~ScopedPolicy() { RegDeleteKeyExW(HKEY_LOCAL_MACHINE, kPolicyKey, KEY_WOW64_64KEY, 0); }

}  // namespace kel::test
