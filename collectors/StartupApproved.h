// The start-up states that Task Manager and Settings record under
// Explorer\StartupApproved since Windows 8: disabling a start-up program
// keeps its Run value or its shortcut and only marks it here.
#pragma once

#include "platform/RegKey.h"

#include <string>

namespace kel {

class StartupApproved {
public:
    // No states: every entry is enabled (RunOnce values have none).
    StartupApproved() = default;
    // The states of one kind of entry, the key StartupApproved\KIND of ROOT
    // ("Run", "Run32" or "StartupFolder"); the machine's are read in the
    // 64-bit view, where Windows writes them.
    StartupApproved(RegRoot root, const char* kind);
    StartupApproved(const StartupApproved&) = delete;
    StartupApproved& operator=(const StartupApproved&) = delete;

    // Whether the entry of this name (a Run value's name, a shortcut's file
    // name) is disabled: its state value reads with an odd first byte.
    // A missing key or value, or one that cannot be read, means enabled.
    bool disabled(const std::string& name) const;

private:
    RegKey key_;
};

}  // namespace kel
