// The registry area of the platform seam: the ANSI registry calls of
// advapi32, with the platform's result codes and buffer rules.
#pragma once

#include <cstdint>

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

class PlatformRegistry {
public:
    virtual ~PlatformRegistry() = default;

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
};

}  // namespace kel
