#include "collectors/CpuInfo.h"

#include "collectors/CpuBrand.h"
#include "collectors/CpuCaches.h"
#include "collectors/CpuClock.h"
#include "collectors/TextOut.h"
#include "platform/Platform.h"

#include <cstdio>

namespace kel {

namespace {

constexpr uint32_t kAmdCacheLeaf = 0x80000005;

// A processor without the identification instruction answers zeros for
// every leaf: vendor unknown, family 0.
CpuidRegs runLeaf(uint32_t leaf)
{
    Platform& p = platform();
    return p.hasCpuid() ? p.cpuid(leaf) : CpuidRegs{};
}

// Raises the whole process to high priority for one clock sample and puts
// back the class it had, however the sample ends.
class RaisedPriority {
public:
    explicit RaisedPriority(Platform& p) : platform_(p), saved_(p.getPriorityClass())
    {
        platform_.setPriorityClass(kHighPriorityClass);
    }
    ~RaisedPriority() { platform_.setPriorityClass(saved_); }
    RaisedPriority(const RaisedPriority&) = delete;
    RaisedPriority& operator=(const RaisedPriority&) = delete;

private:
    Platform& platform_;
    uint32_t saved_;
};

struct Stamp {
    int64_t counter = 0;
    uint32_t cycles = 0;
};

// Reads the performance counter and then the time-stamp counter, back to
// back, until the counter stands at least `ticks` past `from`. False when the
// counter cannot be read, which would otherwise never end the wait.
bool pollUntil(Platform& p, int64_t from, int64_t ticks, Stamp* stamp)
{
    do {
        if (!p.queryPerformanceCounter(&stamp->counter))
            return false;
        stamp->cycles = p.readTimeStampCounter();
    } while (stamp->counter - from < ticks);
    return true;
}

struct ClockSample {
    uint32_t cycles = 0;
    double microseconds = 0;
};

// One sample: skip at least 50 counter ticks to start on a fresh tick, then
// count processor cycles over at least 1000 more, at high priority.
bool takeClockSample(Platform& p, uint32_t tenthOfFrequency, ClockSample* sample)
{
    int64_t start = 0;
    if (!p.queryPerformanceCounter(&start))
        return false;
    Stamp first;
    Stamp second;
    {
        RaisedPriority raised(p);
        if (!pollUntil(p, start, 50, &first) || !pollUntil(p, first.counter, 1000, &second))
            return false;
    }
    const uint32_t ticks = static_cast<uint32_t>(second.counter - first.counter);
    sample->cycles = second.cycles - first.cycles;
    sample->microseconds = ticks * 100000.0 / tenthOfFrequency;
    return true;
}

}  // namespace

CpuInfo::CpuInfo()
    : rawSpeed(0), cpuSpeed(0), measuredSpeed(0), tscCycles(0), elapsedMicroseconds(0), processorsNum(0),
      family(0), type(0), model(0), stepping(0), brandIndex(0), maxStandardLeaf(0), vendorCode(0),
      transistors(0), cpuidRegs{}, l2CacheKb(0), cacheDescriptors{}, l1DataKb(0), l1CodeKb(0),
      l1UnifiedKb(0), amdCacheRegsEbx{}, amdCacheRegs{}, amdL1DataKb(0), amdL1CodeKb(0),
      amdL1TotalKb(0), cyrixCacheRegs{}, cyrixL1UnifiedKb(0)
{
}

CpuInfo::CpuInfo(const CpuInfo& other) = default;
CpuInfo& CpuInfo::operator=(const CpuInfo& other) = default;
CpuInfo::~CpuInfo() = default;

void CpuInfo::setCpuInfo()
{
    setProcessorsNum();
    setCpuSpeed();
    readSignature();
    const uint32_t signature = cpuidRegs[0];
    executeCPUID(0);
    maxStandardLeaf = cpuidRegs[0];
    setCpuVendor();
    findVendor();
    snapClockBeyondTables(signature);
    setCacheInfo(static_cast<int>(vendorCode));
    if (!setModelNameFromBrand())
        runModelRoutine();
}

void CpuInfo::getCpuInfo(char* buffer, int size)
{
    char clock[40];
    std::snprintf(clock, sizeof clock, " %dMhz (%dCPUs)", static_cast<int>(cpuSpeed),
                  static_cast<int>(processorsNum));
    const std::string line = vendorShortName + " " + modelName + clock;
    if (!writeTextIfFits(line, buffer, size))
        writeTextIfFits(clock, buffer, size);
}

void CpuInfo::executeCPUID(unsigned long leaf)
{
    const CpuidRegs regs = runLeaf(static_cast<uint32_t>(leaf));
    cpuidRegs[0] = regs.eax;
    cpuidRegs[1] = regs.ebx;
    cpuidRegs[2] = regs.ecx;
    cpuidRegs[3] = regs.edx;
}

// The extended family and model fields are not read: family 15 stays 15.
void CpuInfo::readSignature()
{
    executeCPUID(1);
    const uint32_t eax = cpuidRegs[0];
    family = (eax >> 8) & 0xF;
    type = (eax >> 12) & 3;
    model = (eax >> 4) & 0xF;
    stepping = eax & 0xF;
    brandIndex = cpuidRegs[1] & 0xFF;
}

unsigned long CpuInfo::setCpuVendor()
{
    executeCPUID(0);
    const uint32_t highestLeaf = cpuidRegs[0];
    if (highestLeaf != 0)
        vendorId = cpu::vendorIdOf(CpuidRegs{cpuidRegs[0], cpuidRegs[1], cpuidRegs[2], cpuidRegs[3]});
    return highestLeaf;
}

void CpuInfo::findVendor()
{
    vendorCode = cpu::kVendorUnknown;
    vendorShortName.clear();
    vendorFullName.clear();
    const uint32_t code = cpu::vendorCodeOf(vendorId);
    if (code == cpu::kVendorUnknown)
        return;
    vendorShortName = cpu::kVendors[code].shortName;
    vendorFullName = cpu::kVendors[code].fullName;
    vendorCode = code;
}

void CpuInfo::runModelRoutine()
{
    using Routine = void (CpuInfo::*)();
    static const Routine kRoutines[cpu::kVendorRows] = {
        nullptr,
        &CpuInfo::setIntelVenderId,
        &CpuInfo::setAmdVenderId,
        &CpuInfo::setCyrixVenderId,
        &CpuInfo::setIdtVenderId,
        &CpuInfo::setNexGenVenderId,
        &CpuInfo::setUmcVenderId,
        &CpuInfo::setRiseVenderId,
    };
    if (vendorCode < cpu::kVendorRows && kRoutines[vendorCode] != nullptr)
        (this->*kRoutines[vendorCode])();
}

// A processor beyond the tables that tells its own name is named by it,
// whatever its vendor; the core name and transistor count stay as they were.
// Like the cache readers, this leaves cpuidRegs alone.
bool CpuInfo::setModelNameFromBrand()
{
    if (!cpu::beyondModelTables(runLeaf(1).eax) || runLeaf(cpu::kExtendedLeaves).eax < cpu::kLastBrandLeaf)
        return false;
    const CpuidRegs brand[3] = {runLeaf(cpu::kLastBrandLeaf - 2), runLeaf(cpu::kLastBrandLeaf - 1),
                                runLeaf(cpu::kLastBrandLeaf)};
    modelName = cpu::modelNameFromBrand(cpu::brandStringOf(brand), vendorShortName);
    return true;
}

// Where no row applies, the model fields keep what they held.
void CpuInfo::applyModelTable(const cpu::ModelTable& table)
{
    const cpu::ModelInput input{family, model, type, brandIndex, l2CacheKb, cpuSpeed};
    const cpu::ModelRow* row = cpu::findModelRow(table, input);
    if (row == nullptr)
        return;
    if (row->modelName != nullptr)
        modelName = row->modelName;
    coreName = row->coreName;
    transistors = row->transistors;
}

void CpuInfo::setIntelVenderId() { applyModelTable(cpu::kModelTables[cpu::kVendorIntel]); }

void CpuInfo::setAmdVenderId() { applyModelTable(cpu::kModelTables[cpu::kVendorAmd]); }

void CpuInfo::setCyrixVenderId() { applyModelTable(cpu::kModelTables[cpu::kVendorCyrix]); }

void CpuInfo::setIdtVenderId() { applyModelTable(cpu::kModelTables[cpu::kVendorIdt]); }

void CpuInfo::setNexGenVenderId() { applyModelTable(cpu::kModelTables[cpu::kVendorNexGen]); }

void CpuInfo::setUmcVenderId() { applyModelTable(cpu::kModelTables[cpu::kVendorUmc]); }

void CpuInfo::setRiseVenderId() { applyModelTable(cpu::kModelTables[cpu::kVendorRise]); }

// GetSystemInfo shows a 32-bit process at most 32 processors and a 64-bit
// one only its own processor group; where the system can count every group,
// that count is taken.
void CpuInfo::setProcessorsNum()
{
    processorsNum = platform().activeProcessorCount();
    if (processorsNum != 0)
        return;
    SystemInfo info;
    platform().getSystemInfo(&info);
    processorsNum = info.numberOfProcessors;
}

// Without a high-resolution counter or a time-stamp counter there is
// nothing to measure with: the clock fields keep their values.
void CpuInfo::setCpuSpeed()
{
    Platform& p = platform();
    int64_t frequency = 0;
    if (!p.queryPerformanceFrequency(&frequency) || !p.hasTimeStampCounter())
        return;
    const uint32_t tenthOfFrequency = static_cast<uint32_t>(frequency) / 10;
    if (tenthOfFrequency == 0)
        return;

    uint32_t totalCycles = 0;
    float totalMicroseconds = 0;
    uint32_t newest = 0, middle = 0, oldest = 0;
    unsigned taken = 0;
    while (cpu::needAnotherClockSample(taken, newest, middle, oldest)) {
        ++taken;
        oldest = middle;
        middle = newest;
        ClockSample sample;
        if (!takeClockSample(p, tenthOfFrequency, &sample))
            return;
        totalCycles += sample.cycles;
        totalMicroseconds = static_cast<float>(totalMicroseconds + sample.microseconds);
        newest = cpu::cyclesPerMicrosecond(sample.cycles, sample.microseconds);
    }

    const cpu::ClockFigures figures = cpu::clockFromTotals(totalCycles, totalMicroseconds);
    rawSpeed = figures.rawSpeed;
    elapsedMicroseconds = figures.elapsedMicroseconds;
    tscCycles = totalCycles;
    measuredSpeed = figures.rounded;
    cpuSpeed = static_cast<uint32_t>(roundFrequency(measuredSpeed));
}

int CpuInfo::roundFrequency(unsigned int figure) { return cpu::roundFrequency(figure); }

// The clock is measured before the processor is identified, so a processor
// beyond the tables has its measured figure snapped again to the marks of
// today's rated clocks. Without a measurement both figures are 0.
void CpuInfo::snapClockBeyondTables(uint32_t signature)
{
    if (cpu::beyondModelTables(signature))
        cpuSpeed = static_cast<uint32_t>(cpu::roundModernFrequency(measuredSpeed));
}

void CpuInfo::setCacheInfo(int vendor)
{
    switch (vendor) {
    case cpu::kVendorIntel:
        l1DataKb = l1CodeKb = l1UnifiedKb = 0;
        setIntelCacheInfo();
        for (uint8_t descriptor : cacheDescriptors) {
            const cpu::DescriptorRow* row = cpu::findDescriptor(descriptor);
            if (row == nullptr)
                continue;
            if (row->field == cpu::CacheField::L1Data)
                l1DataKb = row->kb;
            else if (row->field == cpu::CacheField::L1Code)
                l1CodeKb = row->kb;
            else if (row->field == cpu::CacheField::L1Unified)
                l1UnifiedKb = row->kb;
        }
        break;
    case cpu::kVendorAmd:
        amdL1DataKb = amdL1CodeKb = amdL1TotalKb = 0;
        setAmdCacheInfo();
        amdL1DataKb = amdCacheRegs[0] >> 24;
        amdL1CodeKb = amdCacheRegs[1] >> 24;
        amdL1TotalKb = amdL1DataKb + amdL1CodeKb;
        break;
    case cpu::kVendorCyrix:
        setCyrixCacheInfo();
        if (cpu::anyByteIs(cyrixCacheRegs[0], 0x80))
            cyrixL1UnifiedKb = 16;
        break;
    default:
        break;
    }
}

// The cache readers keep their results to themselves: cpuidRegs holds leaf
// 0 after setCpuInfo, whatever the vendor.
//
// Leaf 2 may have to run several times before it tells everything; the
// low byte of its first EAX says how many, and the last result counts.
void CpuInfo::setIntelCacheInfo()
{
    CpuidRegs regs = runLeaf(2);
    const unsigned runs = regs.eax & 0xFF;
    if (runs == 0) {
        l2CacheKb = 0;
        return;
    }
    for (unsigned run = 1; run < runs; ++run)
        regs = runLeaf(2);
    l2CacheKb = 0;
    uint8_t bytes[16];
    cpu::descriptorBytes(regs, bytes);
    for (int i = 1; i < 16; ++i) {
        cacheDescriptors[i] = bytes[i];
        const cpu::DescriptorRow* row = cpu::findDescriptor(bytes[i]);
        if (row != nullptr && row->field == cpu::CacheField::L2)
            l2CacheKb = row->kb;
    }
}

void CpuInfo::setAmdCacheInfo()
{
    const CpuidRegs regs = runLeaf(kAmdCacheLeaf);
    amdCacheRegsEbx[0] = static_cast<uint16_t>(regs.ebx >> 16);
    amdCacheRegsEbx[1] = static_cast<uint16_t>(regs.ebx & 0xFFFF);
    amdCacheRegs[0] = regs.ecx;
    amdCacheRegs[1] = regs.edx;
}

void CpuInfo::setCyrixCacheInfo()
{
    const CpuidRegs regs = runLeaf(kAmdCacheLeaf);
    cyrixCacheRegs[0] = regs.ecx;
    cyrixCacheRegs[1] = regs.ebx;
}

}  // namespace kel
