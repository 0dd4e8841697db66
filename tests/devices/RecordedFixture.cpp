// kel_tests: the fixture is the recorded machine beside its registry.reg.
#include "tests/devices/FixtureMachine.h"

#include "recorded/RecordedMachine.h"

#include <gtest/gtest.h>

namespace kel::test {

FixtureMachine::FixtureMachine(const std::string& name)
{
    std::string error;
    machine_ = RecordedMachine::load(std::string(KEL_SOURCE_DIR) + "/tests/devices/" + name, &error);
    EXPECT_TRUE(machine_) << "fixture " << name << " rejected: " << error;
    if (machine_) {
        scope_ = std::make_unique<ScopedPlatform>(*machine_);
        ready_ = true;
    }
}

FixtureMachine::~FixtureMachine() = default;

}  // namespace kel::test
