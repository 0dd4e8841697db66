#include "collectors/MemInfo.h"

#include "collectors/TextOut.h"
#include "platform/Platform.h"

#include <cstdio>

namespace kel {

MemInfo::MemInfo()
    : totalPhys(0), availPhys(0), totalPageFile(0), availPageFile(0), totalVirtual(0), availVirtual(0),
      pageSize(0), memoryLoad(0), allocationGranularity(0)
{
}

MemInfo& MemInfo::operator=(const MemInfo& other) = default;

MemInfo::~MemInfo() = default;

void MemInfo::setMemoryInfo()
{
    // The older query cuts every figure to 32 bits, and a 32-bit process
    // that is not large-address-aware sees at most 2 GB through it.
    MemoryStatus status;
    if (!platform().globalMemoryStatusEx(&status))
        platform().globalMemoryStatus(&status);
    memoryLoad = status.memoryLoad;
    totalPhys = status.totalPhys;
    availPhys = status.availPhys;
    totalPageFile = status.totalPageFile;
    availPageFile = status.availPageFile;
    totalVirtual = status.totalVirtual;
    availVirtual = status.availVirtual;

    SystemInfo info;
    platform().getSystemInfo(&info);
    pageSize = info.pageSize;
    allocationGranularity = info.allocationGranularity;
}

void MemInfo::getMemoryInfo(char* buffer, int size)
{
    // The nearest megabyte, a half rounding up, in integers: a double would
    // lose the last kilobytes of the largest figures.
    const uint64_t kilobytes = totalPhys >> 10;
    const unsigned long long megabytes = (kilobytes + 512) / 1024;
    char text[24];  // 2^64-1 bytes: "17592186044416MB"
    std::snprintf(text, sizeof text, "%lluMB", megabytes);
    writeTextIfFits(text, buffer, size);
}

}  // namespace kel
