// A large generated machine for measuring how the report grows: an NT-family
// device tree (enumerators, device identifiers and instance keys, with the
// class, driver and service keys the instances name) and an uninstall list,
// with the values a real installer or driver package writes.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace kel::bench {

struct GeneratedValue {
    std::string name;
    uint32_t type;     // 1 text, 4 number, 7 multi-string
    std::string text;  // text, or strings joined by '\0' for a multi-string
    uint32_t number = 0;
};

struct GeneratedKey {
    std::string path;  // below HKEY_LOCAL_MACHINE
    std::vector<GeneratedValue> values;
};

class GeneratedMachine {
public:
    // Instance keys come 25 to an enumerator (5 devices of 5 instances), so
    // deviceKeys is rounded up to a multiple of 25.
    GeneratedMachine(int deviceKeys, int programs);

    int deviceKeys() const { return enumerators_ * kInstancesPerEnumerator; }
    int programs() const { return programs_; }

    // Calls emit for every key, parents before children.
    void forEachKey(const std::function<void(const GeneratedKey&)>& emit) const;

    // The keys as a registry editor file (version 5.00, ASCII text); without
    // its first line when it is to follow another file's keys.
    std::string regText(bool withHeader = true) const;

    static constexpr int kInstancesPerEnumerator = 25;

private:
    void emitDevices(const std::function<void(const GeneratedKey&)>& emit) const;
    void emitPrograms(const std::function<void(const GeneratedKey&)>& emit) const;

    int enumerators_;
    int programs_;
};

}  // namespace kel::bench
