// The memory figures of the machine; the report prints the installed RAM.
#pragma once

#include "collectors/KelApi.h"

#include <cstdint>

namespace kel {

class KEL_API MemInfo {
public:
    MemInfo();
    MemInfo& operator=(const MemInfo& other);
    ~MemInfo();

    void setMemoryInfo();
    void getMemoryInfo(char* buffer, int size);

private:
    // Byte counts, as wide as the extended query answers them.
    uint64_t totalPhys;
    uint64_t availPhys;
    uint64_t totalPageFile;
    uint64_t availPageFile;
    uint64_t totalVirtual;
    uint64_t availVirtual;
    uint32_t pageSize;
    uint32_t memoryLoad;
    uint32_t allocationGranularity;
};

}  // namespace kel
