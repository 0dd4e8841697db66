// A recorded machine built from text in the test itself, in force while the
// object lives.
#pragma once

#include "TestMachine.h"

#include <memory>
#include <optional>
#include <string>

namespace kel {

class MachineUnderTest {
public:
    MachineUnderTest(const std::string& registry, const std::string& ini)
        : machine_(test::machineFrom(registry, ini))
    {
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

    RecordedMachine& machine() { return *machine_; }

private:
    std::unique_ptr<RecordedMachine> machine_;
    std::optional<ScopedPlatform> scope_;
};

// A registry file with the given keys, in the registry editor's format.
inline std::string regFile(const std::string& body)
{
    return test::kRegHeader + body;
}

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
