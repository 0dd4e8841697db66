// The report taken of a recorded machine, and where the sample machines lie.
#pragma once

#include "platform/Platform.h"
#include "recorded/RecordedMachine.h"
#include "report/Report.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace kel::test {

inline const char* const kRegHeader = "Windows Registry Editor Version 5.00\n\n";

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
