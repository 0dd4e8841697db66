// Helpers of the recorded-machine tests: messages of rejected texts, and
// small readers of the registry through the seam.
#pragma once

#include "MachineUnderTest.h"

#include "recorded/RecordedMachine.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace kel {
namespace test {

// The message a rejected pair of texts gives; "accepted" when it is not.
inline std::string errorOf(const std::string& registry, const std::string& ini = "")
{
    std::string error;
    return RecordedMachine::parse(registry, ini, &error) ? "accepted" : error;
}

// A key opened on a machine and closed at the end of the scope.
class OpenKey {
public:
    OpenKey(Platform& machine, RegRoot root, const char* path, uint32_t access = kKeyRead)
        : machine_(machine), result_(machine.regOpenKey(root, path, access, &handle_))
    {
    }
    ~OpenKey()
    {
        if (result_ == kRegSuccess)
            machine_.regCloseKey(handle_);
    }
    OpenKey(const OpenKey&) = delete;
    OpenKey& operator=(const OpenKey&) = delete;

    long result() const { return result_; }
    RegHandle handle() const { return handle_; }

private:
    Platform& machine_;
    RegHandle handle_ = 0;
    long result_;
};

// The names of a key's subkeys in enumeration order.
inline std::vector<std::string> subkeyNames(Platform& machine, RegHandle key)
{
    std::vector<std::string> names;
    char name[kMaxPath];
    for (uint32_t i = 0; machine.regEnumKey(key, i, name, sizeof name) == kRegSuccess; ++i)
        names.push_back(name);
    return names;
}

// The names of a key's values in enumeration order.
inline std::vector<std::string> valueNames(Platform& machine, RegHandle key)
{
    std::vector<std::string> names;
    char name[kMaxPath];
    uint32_t size = sizeof name;
    for (uint32_t i = 0; machine.regEnumValue(key, i, name, &size, nullptr, nullptr, nullptr) == kRegSuccess;
         ++i) {
        names.push_back(name);
        size = sizeof name;
    }
    return names;
}

// The raw bytes of a value read with a buffer of bufferSize bytes; the
// result code goes to *result.
inline std::string valueBytes(Platform& machine, RegHandle key, const char* name, uint32_t bufferSize,
                              long* result, uint32_t* type = nullptr)
{
    std::vector<uint8_t> buffer(bufferSize + 1, 0xCC);
    uint32_t size = bufferSize;
    *result = machine.regQueryValue(key, name, type, buffer.data(), &size);
    if (*result != kRegSuccess)
        return std::string();
    return std::string(buffer.begin(), buffer.begin() + size);
}

}  // namespace test
}  // namespace kel
