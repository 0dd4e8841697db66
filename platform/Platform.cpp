#include "platform/Platform.h"

#include <atomic>

namespace kel {

// Supplied by the backend the build links as the module's own.
Platform& defaultPlatform();

namespace {
std::atomic<Platform*> overridePlatform{nullptr};
}

Platform& platform()
{
    Platform* current = overridePlatform.load(std::memory_order_acquire);
    return current ? *current : defaultPlatform();
}

ScopedPlatform::ScopedPlatform(Platform& replacement)
    : previous_(overridePlatform.exchange(&replacement, std::memory_order_acq_rel))
{
}

ScopedPlatform::~ScopedPlatform() { overridePlatform.store(previous_, std::memory_order_release); }

}  // namespace kel
