// The module-wide state of an in-process COM server: its instance handle and
// the count of living objects and server locks that DllCanUnloadNow reads.
#pragma once

#include <windows.h>

#include <string>

namespace kel::com {

class Module {
public:
    static void attach(HINSTANCE instance);
    static HINSTANCE instance();

    static void lock();
    static void unlock();
    static bool isLocked();

    // The full path of the module's file; empty when it cannot be read.
    static std::wstring path();
    // The same path in its short (8.3) form, or the full path when the file
    // system has no short names.
    static std::wstring shortPath();
};

// Held by every object the module hands out, so that the module stays
// loaded while one lives.
class ModuleLock {
public:
    ModuleLock() { Module::lock(); }
    ~ModuleLock() { Module::unlock(); }
    ModuleLock(const ModuleLock&) = delete;
    ModuleLock& operator=(const ModuleLock&) = delete;
};

}  // namespace kel::com
