// Reads the fields of a CpuInfo that no get-operation prints.
#pragma once

#include "collectors/CpuInfo.h"

#include <string>

namespace kel {

class CpuInfoPeer {
public:
    explicit CpuInfoPeer(const CpuInfo& cpu) : c(cpu) {}

    uint32_t rawSpeed() const { return c.rawSpeed; }
    uint32_t cpuSpeed() const { return c.cpuSpeed; }
    uint32_t measuredSpeed() const { return c.measuredSpeed; }
    uint32_t tscCycles() const { return c.tscCycles; }
    uint32_t elapsedMicroseconds() const { return c.elapsedMicroseconds; }
    uint32_t processorsNum() const { return c.processorsNum; }
    uint32_t family() const { return c.family; }
    uint32_t type() const { return c.type; }
    uint32_t model() const { return c.model; }
    uint32_t stepping() const { return c.stepping; }
    uint32_t brandIndex() const { return c.brandIndex; }
    uint32_t maxStandardLeaf() const { return c.maxStandardLeaf; }
    uint32_t vendorCode() const { return c.vendorCode; }
    uint32_t transistors() const { return c.transistors; }
    const std::string& modelName() const { return c.modelName; }
    const std::string& coreName() const { return c.coreName; }
    const std::string& vendorId() const { return c.vendorId; }
    const std::string& vendorShortName() const { return c.vendorShortName; }
    const std::string& vendorFullName() const { return c.vendorFullName; }
    uint32_t cpuidReg(int i) const { return c.cpuidRegs[i]; }
    uint32_t l2CacheKb() const { return c.l2CacheKb; }
    uint8_t cacheDescriptor(int i) const { return c.cacheDescriptors[i]; }
    uint32_t l1DataKb() const { return c.l1DataKb; }
    uint32_t l1CodeKb() const { return c.l1CodeKb; }
    uint32_t l1UnifiedKb() const { return c.l1UnifiedKb; }
    uint16_t amdCacheRegEbx(int i) const { return c.amdCacheRegsEbx[i]; }
    uint32_t amdCacheReg(int i) const { return c.amdCacheRegs[i]; }
    uint32_t amdL1DataKb() const { return c.amdL1DataKb; }
    uint32_t amdL1CodeKb() const { return c.amdL1CodeKb; }
    uint32_t amdL1TotalKb() const { return c.amdL1TotalKb; }
    uint32_t cyrixCacheReg(int i) const { return c.cyrixCacheRegs[i]; }
    uint32_t cyrixL1UnifiedKb() const { return c.cyrixL1UnifiedKb; }

    // Every field as one text, for comparing two objects.
    std::string dump() const
    {
        std::string text;
        auto add = [&](uint32_t value) { text += std::to_string(value) + ' '; };
        for (uint32_t v : {c.rawSpeed, c.cpuSpeed, c.measuredSpeed, c.tscCycles, c.elapsedMicroseconds,
                           c.processorsNum, c.family, c.type, c.model, c.stepping, c.brandIndex,
                           c.maxStandardLeaf, c.vendorCode, c.transistors})
            add(v);
        text += '[' + c.modelName + "][" + c.coreName + "][" + c.vendorId + "][" + c.vendorShortName + "][" +
                c.vendorFullName + "] ";
        for (uint32_t v : c.cpuidRegs)
            add(v);
        add(c.l2CacheKb);
        for (uint8_t v : c.cacheDescriptors)
            add(v);
        for (uint32_t v :
             {c.l1DataKb, c.l1CodeKb, c.l1UnifiedKb, uint32_t{c.amdCacheRegsEbx[0]},
              uint32_t{c.amdCacheRegsEbx[1]}, c.amdCacheRegs[0], c.amdCacheRegs[1], c.amdL1DataKb,
              c.amdL1CodeKb, c.amdL1TotalKb, c.cyrixCacheRegs[0], c.cyrixCacheRegs[1], c.cyrixL1UnifiedKb})
            add(v);
        return text;
    }

private:
    const CpuInfo& c;
};

// The summary line getCpuInfo writes into a roomy buffer.
inline std::string cpuLine(CpuInfo& cpu)
{
    char buffer[1024] = "(untouched)";
    cpu.getCpuInfo(buffer, sizeof buffer);
    return buffer;
}

}  // namespace kel
