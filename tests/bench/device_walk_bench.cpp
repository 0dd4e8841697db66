// Measures the device walk on a generated tree of 200 enumerators and 5,000
// instance keys (and on its first quarter and half, to show that the time
// per key stays flat): on a recorded machine, and with --real on the
// platform's own registry, which the program fills with the tree first.
// A measurement, not a test: it prints its figures and checks only that
// every instance was walked.
#include "collectors/DeviceInfo.h"
#include "platform/Platform.h"
#include "platform/recorded/RecordedMachine.h"
#include "tests/bench/DeviceTree.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <string>

#ifdef _WIN32
#include <windows.h>
#include <psapi.h>
#else
#include <sys/resource.h>
#endif

// Heap bytes in use and their peak, counted by the program's own operator
// new, so that the walk's memory shows apart from the registry it reads.
namespace heap {
std::size_t inUse = 0;
std::size_t peak = 0;
}  // namespace heap

namespace {

// Each block carries its size in front, kept at the platform's alignment.
constexpr std::size_t kHeader = alignof(std::max_align_t);

void* allocate(std::size_t size)
{
    void* block = std::malloc(size + kHeader);
    if (block == nullptr)
        throw std::bad_alloc();
    *static_cast<std::size_t*>(block) = size;
    heap::inUse += size;
    heap::peak = std::max(heap::peak, heap::inUse);
    return static_cast<char*>(block) + kHeader;
}

void release(void* pointer)
{
    if (pointer == nullptr)
        return;
    void* block = static_cast<char*>(pointer) - kHeader;
    heap::inUse -= *static_cast<std::size_t*>(block);
    std::free(block);
}

}  // namespace

void* operator new(std::size_t size) { return allocate(size); }
void* operator new[](std::size_t size) { return allocate(size); }
void operator delete(void* pointer) noexcept { release(pointer); }
void operator delete[](void* pointer) noexcept { release(pointer); }
void operator delete(void* pointer, std::size_t) noexcept { release(pointer); }
void operator delete[](void* pointer, std::size_t) noexcept { release(pointer); }

namespace {

constexpr int kDevicesPerEnumerator = 5;
constexpr int kInstancesPerDevice = 5;
constexpr int kWalks = 5;
// Nine of the ten generated classes are in the walk's table.
constexpr int kFiledPerTen = 9;

long peakMemoryKb()
{
#ifdef _WIN32
    PROCESS_MEMORY_COUNTERS counters;
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters))
        return -1;
    return static_cast<long>(counters.PeakWorkingSetSize / 1024);
#else
    rusage usage;
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
#endif
}

std::size_t filedRecords(kel::DeviceInfo& devices)
{
    std::size_t count = 0;
    const kel::DeviceClassList* lists = devices.getSystemDeviceInfo();
    for (int position = 0; position < kel::kDeviceClassListCount; ++position)
        count += lists[position].size();
    return count;
}

// Walks kWalks times; prints the fastest walk, per instance key, the heap the
// walk kept and its peak, and the process's peak memory. False when a walk
// did not file what the tree holds.
bool measure(const char* where, int enumerators)
{
    const int instances = enumerators * kDevicesPerEnumerator * kInstancesPerDevice;
    double fastest = 1e300;
    std::size_t filed = 0;
    std::size_t kept = 0;
    std::size_t walkPeak = 0;
    for (int walk = 0; walk < kWalks; ++walk) {
        auto devices = std::make_unique<kel::DeviceInfo>();
        const std::size_t before = heap::inUse;
        heap::peak = before;
        const auto start = std::chrono::steady_clock::now();
        devices->setSystemDeviceInfo(true);
        const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
        fastest = std::min(fastest, took.count());
        kept = heap::inUse - before;
        walkPeak = heap::peak - before;
        filed = filedRecords(*devices);
    }
    std::printf("%-9s %4d enumerators %5d instance keys: walk %9.2f ms, %7.2f us per key, "
                "%5zu records, heap kept %6zu KB, walk peak %6zu KB, process peak %ld KB\n",
                where, enumerators, instances, fastest, fastest * 1000.0 / instances, filed,
                kept / 1024, walkPeak / 1024, peakMemoryKb());
    // The generated tree is the whole Enum tree on a recorded machine; the
    // real registry has devices of its own besides.
    return filed >= static_cast<std::size_t>(instances / 10 * kFiledPerTen);
}

#ifdef _WIN32
void writeKey(const kel::bench::TreeKey& key)
{
    HKEY handle;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, key.path.c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                        nullptr, &handle, nullptr) != ERROR_SUCCESS)
        return;
    for (const kel::bench::TreeValue& v : key.values) {
        if (v.type == REG_DWORD) {
            RegSetValueExA(handle, v.name.c_str(), 0, REG_DWORD,
                           reinterpret_cast<const BYTE*>(&v.number), sizeof v.number);
        } else {
            // Text with its NUL; a multi-string with its closing empty string.
            const std::string data = v.text + std::string(v.type == REG_MULTI_SZ ? 2 : 1, '\0');
            RegSetValueExA(handle, v.name.c_str(), 0, v.type,
                           reinterpret_cast<const BYTE*>(data.data()), static_cast<DWORD>(data.size()));
        }
    }
    RegCloseKey(handle);
}

bool measureReal()
{
    bool ok = true;
    int written = 0;
    for (int enumerators : {50, 100, 200}) {
        kel::bench::generateDeviceTree(written, enumerators, kDevicesPerEnumerator,
                                       kInstancesPerDevice, writeKey);
        written = enumerators;
        ok = measure("real", enumerators) && ok;
    }
    return ok;
}
#endif

bool measureRecorded()
{
    bool ok = true;
    for (int enumerators : {50, 100, 200}) {
        std::string error;
        auto machine = kel::RecordedMachine::parse(
            kel::bench::deviceTreeRegText(enumerators, kDevicesPerEnumerator, kInstancesPerDevice),
            "[version]\nplatform = 2\nmajor = 5\nminor = 1\n", &error);
        if (!machine) {
            std::fprintf(stderr, "device_walk_bench: the generated tree was rejected: %s\n",
                         error.c_str());
            return false;
        }
        kel::ScopedPlatform scoped(*machine);
        ok = measure("recorded", enumerators) && ok;
    }
    return ok;
}

}  // namespace

int main(int argc, char** argv)
{
    const bool real = argc > 1 && std::strcmp(argv[1], "--real") == 0;
#ifdef _WIN32
    const bool ok = real ? measureReal() : measureRecorded();
#else
    if (real) {
        std::fprintf(stderr, "device_walk_bench: --real needs Windows or Wine\n");
        return 2;
    }
    const bool ok = measureRecorded();
#endif
    if (!ok)
        std::fprintf(stderr, "device_walk_bench: a walk missed instance keys\n");
    return ok ? 0 : 1;
}
