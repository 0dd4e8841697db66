// A key path "root\name" assembled in place. The device walk and the program
// list open several such keys for every entry they read, so the path lives on
// the stack rather than in a fresh heap string each time.
#pragma once

#include "platform/Platform.h"

#include <cstddef>
#include <string>

namespace kel {

class KeyPath {
public:
    // The name ends at its first NUL, as the platform would read it.
    KeyPath(const char* root, const char* name);
    KeyPath(const char* root, const std::string& name) : KeyPath(root, name.c_str()) {}

    // False when root and name together exceed the capacity; such a path
    // names no key the registry can hold.
    bool fits() const { return fits_; }
    const char* c_str() const { return text_; }

private:
    // A root of the collectors, a separator and a name read into a kMaxPath
    // buffer fit with room to spare.
    static constexpr std::size_t kCapacity = 2 * kMaxPath;

    char text_[kCapacity];
    bool fits_;
};

}  // namespace kel
