// A recorded machine built from text in the test itself, in force as the
// platform while the object lives. Machine may be a test double derived from
// the recorded machine, which stands in for a few of its services.
#pragma once

#include "TestMachine.h"

#include "platform/Platform.h"
#include "recorded/RecordedMachine.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>

namespace kel {

template <class Machine = RecordedMachine>
class MachineUnderTest {
public:
    // Fails the test when the texts are rejected; the object is then false.
    MachineUnderTest(const std::string& registry, const std::string& ini)
    {
        std::string error;
        machine_ = RecordedMachine::parse<Machine>(registry, ini, &error);
        EXPECT_TRUE(machine_) << "machine rejected: " << error;
        if (machine_)
            scope_.emplace(*machine_);
    }

    // Every key and search a collector opens is closed before it returns.
    ~MachineUnderTest()
    {
        if (machine_) {
            EXPECT_EQ(0u, machine_->openKeyCount()) << "registry keys left open";
            EXPECT_EQ(0u, machine_->openSearchCount()) << "file searches left open";
        }
    }

    MachineUnderTest(const MachineUnderTest&) = delete;
    MachineUnderTest& operator=(const MachineUnderTest&) = delete;

    explicit operator bool() const { return machine_ != nullptr; }
    Machine& machine() { return *machine_; }
    Machine& operator*() { return *machine_; }
    Machine* operator->() { return machine_.get(); }

private:
    std::unique_ptr<Machine> machine_;
    std::optional<ScopedPlatform> scope_;
};

// A registry file with the given keys, in the registry editor's format.
inline std::string regFile(const std::string& body) { return test::kRegHeader + body; }

// A machine.ini: the sections every machine needs, with systemLines added to
// [system], then the given sections.
inline std::string iniFile(const std::string& sections, const std::string& systemLines = "")
{
    return "[system]\ncodepage = 1252\nprocessors = 1\n" + systemLines +
           "\n[version]\nplatform = 2\nmajor = 5\nminor = 1\nbuild = 2600\n"
           "csd = Service Pack 1\n\n" +
           sections;
}

}  // namespace kel
