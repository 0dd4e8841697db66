// A large generated device tree for measuring the device walk: enumerators,
// each with device identifiers and instances, with the class, driver and
// service keys the instances name.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace kel::bench {

struct TreeValue {
    std::string name;
    uint32_t type;  // 1 text, 4 number, 7 multi-string
    std::string text;        // text, or strings joined by '\0' for a multi-string
    uint32_t number = 0;
};

struct TreeKey {
    std::string path;  // below HKEY_LOCAL_MACHINE
    std::vector<TreeValue> values;
};

// Calls emit for every key of the enumerators first to last - 1 of an
// NT-family tree, each with devices x instances instance keys, and for the
// class keys they name.
void generateDeviceTree(int firstEnumerator, int lastEnumerator, int devicesPerEnumerator,
                        int instancesPerDevice, const std::function<void(const TreeKey&)>& emit);

// The same tree as a registry editor file (version 5.00, UTF-8 text).
std::string deviceTreeRegText(int enumerators, int devicesPerEnumerator, int instancesPerDevice);

}  // namespace kel::bench
