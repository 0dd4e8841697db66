#include "control/framework/Module.h"

#include <atomic>

namespace kel::com {

namespace {
HINSTANCE moduleInstance = nullptr;
std::atomic<long> lockCount{0};
}  // namespace

void Module::attach(HINSTANCE instance) { moduleInstance = instance; }

HINSTANCE Module::instance() { return moduleInstance; }

void Module::lock() { ++lockCount; }

void Module::unlock() { --lockCount; }

bool Module::isLocked() { return lockCount.load() != 0; }

std::wstring Module::path()
{
    wchar_t buffer[MAX_PATH];
    const DWORD length = GetModuleFileNameW(moduleInstance, buffer, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return std::wstring();
    return std::wstring(buffer, length);
}

std::wstring Module::shortPath()
{
    const std::wstring full = path();
    wchar_t buffer[MAX_PATH];
    const DWORD length = GetShortPathNameW(full.c_str(), buffer, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return full;
    return std::wstring(buffer, length);
}

}  // namespace kel::com
