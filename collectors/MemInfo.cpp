#include "collectors/MemInfo.h"

#include "collectors/TextOut.h"
#include "platform/Platform.h"

#include <cstdio>
#include <limits>

namespace kel {

namespace {

// A 32-bit Windows reports at most 4,294,967,295 for each figure; a 64-bit
// one reports more, which must not wrap to a small, wrong number.
uint32_t saturated(uint64_t figure)
{
    constexpr uint64_t most = std::numeric_limits<uint32_t>::max();
    return static_cast<uint32_t>(figure > most ? most : figure);
}

}  // namespace

MemInfo::MemInfo()
    : totalPhys(0), availPhys(0), totalPageFile(0), availPageFile(0), totalVirtual(0),
      availVirtual(0), pageSize(0), memoryLoad(0), allocationGranularity(0)
{
}

MemInfo& MemInfo::operator=(const MemInfo& other) = default;

MemInfo::~MemInfo() = default;

void MemInfo::setMemoryInfo()
{
    MemoryStatus status;
    platform().globalMemoryStatus(&status);
    memoryLoad = status.memoryLoad;
    totalPhys = saturated(status.totalPhys);
    availPhys = saturated(status.availPhys);
    totalPageFile = saturated(status.totalPageFile);
    availPageFile = saturated(status.availPageFile);
    totalVirtual = saturated(status.totalVirtual);
    availVirtual = saturated(status.availVirtual);

    SystemInfo info;
    platform().getSystemInfo(&info);
    pageSize = info.pageSize;
    allocationGranularity = info.allocationGranularity;
}

void MemInfo::getMemoryInfo(char* buffer, int size)
{
    const uint32_t kilobytes = totalPhys >> 10;
    const int megabytes = static_cast<int>((kilobytes + 0.5) * 0.0009765625 + 0.5);
    char text[16];
    std::snprintf(text, sizeof text, "%dMB", megabytes);
    writeTextIfFits(text, buffer, size);
}

}  // namespace kel
