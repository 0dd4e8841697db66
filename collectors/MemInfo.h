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
    uint32_t totalPhys;
    uint32_t availPhys;
    uint32_t totalPageFile;
    uint32_t availPageFile;
    uint32_t totalVirtual;
    uint32_t availVirtual;
    uint32_t pageSize;
    uint32_t memoryLoad;
    uint32_t allocationGranularity;
};

}  // namespace kel
