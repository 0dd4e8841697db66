// Registry conventions shared by every collector: keys that close
// themselves, and text reads that never go past what the platform returned.
#pragma once

#include "platform/KeyPath.h"
#include "platform/Platform.h"

#include <cstddef>
#include <string>

namespace kel {

class RegKey {
public:
    RegKey() = default;
    ~RegKey() { close(); }
    RegKey(const RegKey&) = delete;
    RegKey& operator=(const RegKey&) = delete;

    // Result code of the platform; the key is open only on kRegSuccess.
    long open(RegRoot root, const char* path, uint32_t access);
    long open(RegRoot root, const std::string& path, uint32_t access)
    {
        return open(root, path.c_str(), access);
    }
    // A path too long for any key opens nothing (kRegFileNotFound).
    long open(RegRoot root, const KeyPath& path, uint32_t access)
    {
        return path.fits() ? open(root, path.c_str(), access) : kRegFileNotFound;
    }
    void close();
    bool isOpen() const { return handle_ != 0; }
    RegHandle handle() const { return handle_; }

    // Reads a value into a buffer of bufferSize bytes and returns its text up
    // to the first NUL, never past the bytes the platform returned. False
    // (text untouched) when the query fails, including data that does not fit.
    bool readText(const char* name, std::size_t bufferSize, std::string* text) const;

private:
    RegHandle handle_ = 0;
};

// The text of a buffer the platform filled with byteCount bytes: up to the
// first NUL, and never past byteCount or the buffer's own size.
std::string boundedText(const char* buffer, std::size_t byteCount, std::size_t bufferSize);

}  // namespace kel
