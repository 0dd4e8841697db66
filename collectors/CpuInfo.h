// The processor: vendor and model from the identification instruction, the
// nominal clock measured against the performance counter, the processor
// count and some cache sizes.
#pragma once

#include "collectors/KelApi.h"
#include "collectors/CpuModels.h"

#include <cstdint>
#include <string>

namespace kel {

class KEL_API CpuInfo {
public:
    CpuInfo();
    CpuInfo(const CpuInfo& other);
    CpuInfo& operator=(const CpuInfo& other);
    ~CpuInfo();

    void setCpuInfo();
    void getCpuInfo(char* buffer, int size);

private:
    // The tests read the fields that no get-operation prints.
    friend class CpuInfoPeer;

    void executeCPUID(unsigned long leaf);
    void readSignature();
    unsigned long setCpuVendor();
    void findVendor();
    bool setModelNameFromBrand();
    void runModelRoutine();
    void applyModelTable(const cpu::ModelTable& table);
    void setIntelVenderId();
    void setAmdVenderId();
    void setCyrixVenderId();
    void setIdtVenderId();
    void setNexGenVenderId();
    void setUmcVenderId();
    void setRiseVenderId();

    void setProcessorsNum();
    void setCpuSpeed();
    int roundFrequency(unsigned int figure);
    void snapClockBeyondTables(uint32_t signature);
    void setCacheInfo(int vendor);
    void setIntelCacheInfo();
    void setAmdCacheInfo();
    void setCyrixCacheInfo();

    uint32_t rawSpeed;
    uint32_t cpuSpeed;
    // The measured clock rounded at its first decimal, before snapping.
    uint32_t measuredSpeed;
    uint32_t tscCycles;
    uint32_t elapsedMicroseconds;
    uint32_t processorsNum;
    uint32_t family;
    uint32_t type;
    uint32_t model;
    uint32_t stepping;
    uint32_t brandIndex;
    uint32_t maxStandardLeaf;
    uint32_t vendorCode;
    uint32_t transistors;
    std::string modelName;
    std::string coreName;
    std::string vendorId;
    std::string vendorShortName;
    std::string vendorFullName;
    uint32_t cpuidRegs[4];
    // Intel caches.
    uint32_t l2CacheKb;
    uint8_t cacheDescriptors[16];
    uint32_t l1DataKb;
    uint32_t l1CodeKb;
    uint32_t l1UnifiedKb;
    // AMD caches: EBX high half, EBX low half, ECX, EDX of leaf 0x80000005.
    uint16_t amdCacheRegsEbx[2];
    uint32_t amdCacheRegs[2];
    uint32_t amdL1DataKb;
    uint32_t amdL1CodeKb;
    uint32_t amdL1TotalKb;
    // Cyrix caches: ECX, then EBX of leaf 0x80000005.
    uint32_t cyrixCacheRegs[2];
    uint32_t cyrixL1UnifiedKb;
};

}  // namespace kel
