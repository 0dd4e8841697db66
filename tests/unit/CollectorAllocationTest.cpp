// Running out of memory in the middle of a fill: std::bad_alloc reaches the
// caller, nothing leaks (the sanitizer's leak check) and every registry key
// and file search the collector opened is closed again.
#include "collectors/DirectXInfo.h"
#include "collectors/DiskInfo.h"
#include "collectors/PrinterInfo.h"
#include "collectors/SoftwareInfo.h"
#include "collectors/StartUpInfo.h"

#include "AllocationFailure.h"
#include "TestMachine.h"

#include <gtest/gtest.h>

#include <new>
#include <string>

namespace kel::test {
namespace {

// Fails each allocation of one fill in turn, until a fill runs through
// without reaching the armed one.
template <class Collector>
void failEachAllocation(void (Collector::*fill)(), RecordedMachine& machine)
{
    int failures = 0;
    for (long n = 1;; ++n) {
        bool threw = false;
        {
            Collector collector;
            FailAllocation failAt(n);
            try {
                (collector.*fill)();
            } catch (const std::bad_alloc&) {
                threw = true;
            }
        }
        failures += threw;
        EXPECT_EQ(0u, machine.openKeyCount()) << "keys left open after failing allocation " << n;
        EXPECT_EQ(0u, machine.openSearchCount()) << "searches left open after failing allocation " << n;
        if (!threw && !FailAllocation::lastArmedFired())
            break;
        ASSERT_LT(n, 100000) << "runaway";
    }
    EXPECT_GT(failures, 5) << "the fill should allocate many times";
}

class CollectorAllocation : public testing::Test {
protected:
    void SetUp() override
    {
        std::string error;
        machine_ = RecordedMachine::load(sampleMachineDir("xp-desktop"), &error);
        ASSERT_TRUE(machine_) << error;
        scope_ = std::make_unique<ScopedPlatform>(*machine_);
    }
    void TearDown() override { scope_.reset(); }

    std::unique_ptr<RecordedMachine> machine_;
    std::unique_ptr<ScopedPlatform> scope_;
};

TEST_F(CollectorAllocation, Drives) { failEachAllocation(&DiskInfo::setDiskInfo, *machine_); }

TEST_F(CollectorAllocation, Printers) { failEachAllocation(&PrinterInfo::setPrinterInfo, *machine_); }

TEST_F(CollectorAllocation, DirectX) { failEachAllocation(&DirectXInfo::setDirectXInfo, *machine_); }

TEST_F(CollectorAllocation, Programs) { failEachAllocation(&SoftwareInfo::setSoftwareInfo, *machine_); }

TEST_F(CollectorAllocation, StartUpEntries) { failEachAllocation(&StartUpInfo::setStartUpInfo, *machine_); }

}  // namespace
}  // namespace kel::test
