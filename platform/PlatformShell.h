// The shell and files area of the platform seam: the shell's special
// folders (shell32) and the file search of kernel32.
#pragma once

#include <cstddef>
#include <cstdint>

namespace kel {

constexpr std::size_t kMaxPath = 260;

// Shell special-folder numbers.
constexpr int kFolderStartup = 7;
constexpr int kFolderCommonStartup = 24;
constexpr int kFolderCommonAppData = 35;

using FindHandle = std::uintptr_t;  // 0 means no search is open

class PlatformShell {
public:
    virtual ~PlatformShell() = default;

    // The file-system path of a special folder into a kMaxPath buffer.
    virtual bool getSpecialFolderPath(int folder, char* path) = 0;
    // fileName receives at most kMaxPath bytes with its NUL.
    virtual FindHandle findFirstFile(const char* pattern, char* fileName) = 0;
    virtual bool findNextFile(FindHandle search, char* fileName) = 0;
    virtual void findClose(FindHandle search) = 0;
};

}  // namespace kel
