#include "collectors/CpuInfo.h"

#include <cstring>

namespace kel {

CpuInfo::CpuInfo()
    : rawSpeed(0), cpuSpeed(0), tscCycles(0), elapsedMicroseconds(0), processorsNum(0), family(0),
      type(0), model(0), stepping(0), brandIndex(0), maxStandardLeaf(0), vendorCode(0),
      transistors(0), cpuidRegs{}, l2CacheKb(0), cacheDescriptors{}, l1DataKb(0), l1CodeKb(0),
      l1UnifiedKb(0), amdCacheRegsEbx{}, amdCacheRegs{}, amdL1DataKb(0), amdL1CodeKb(0),
      amdL1TotalKb(0), cyrixCacheRegs{}, cyrixL1UnifiedKb(0)
{
}

CpuInfo::CpuInfo(const CpuInfo& other) = default;
CpuInfo& CpuInfo::operator=(const CpuInfo& other) = default;
CpuInfo::~CpuInfo() = default;

// Not built yet: the processor is identified by its own change.
void CpuInfo::setCpuInfo() {}
void CpuInfo::getCpuInfo(char*, int) {}

}  // namespace kel
