// A recorded machine built from text in the test itself, in force while the
// object lives.
#pragma once

#include "platform/recorded/RecordedMachine.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>

namespace kel {

class MachineUnderTest {
public:
    MachineUnderTest(const std::string& registry, const std::string& ini)
    {
        std::string error;
        machine_ = RecordedMachine::parse(registry, ini, &error);
        if (!machine_) {
            ADD_FAILURE() << "recorded machine rejected: " << error;
            return;
        }
        scope_.emplace(*machine_);
    }

    bool ok() const { return machine_ != nullptr; }
    RecordedMachine& machine() { return *machine_; }

private:
    std::unique_ptr<RecordedMachine> machine_;
    std::optional<ScopedPlatform> scope_;
};

// A registry file with the given keys, in the registry editor's format.
inline std::string regFile(const std::string& body)
{
    return "Windows Registry Editor Version 5.00\n\n" + body;
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
