// Recorded machines built inside a test, and the report taken of them.
#pragma once

#include "platform/Platform.h"
#include "platform/recorded/RecordedMachine.h"
#include "report/Report.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace kel::test {

inline const char* const kRegHeader = "Windows Registry Editor Version 5.00\n\n";

// A machine from registry.reg and machine.ini texts; fails the test when the
// texts are rejected.
inline std::unique_ptr<RecordedMachine> machineFrom(const std::string& registry,
                                                    const std::string& ini)
{
    std::string error;
    auto machine = RecordedMachine::parse(registry, ini, &error);
    EXPECT_TRUE(machine) << "machine rejected: " << error;
    return machine;
}

// The report of a machine, converted back to 8-bit text (the tests' machines
// use ASCII unless they test the conversion).
inline std::string reportOf(Platform& machine, ReportKind kind)
{
    ScopedPlatform scoped(machine);
    std::u16string text;
    EXPECT_TRUE(runReport(kind, &text));
    std::string narrow;
    for (char16_t c : text)
        narrow += c < 0x80 ? static_cast<char>(c) : '?';
    return narrow;
}

inline std::string sampleMachineDir(const std::string& name)
{
    return std::string(KEL_SOURCE_DIR) + "/machines/" + name;
}

}  // namespace kel::test
