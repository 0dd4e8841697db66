// The installed programs with what the inventory formats carry beside their
// names: version, publisher and install date, the registry view the entry
// was found in, the current user's own entries, and the entries Windows
// hides from its list (SystemComponent = 1), marked rather than dropped.
#pragma once

#include "platform/RegKey.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kel {

struct Program {
    std::string name;
    std::string version;
    std::string publisher;
    std::string installDate;  // as the entry writes it, YYYYMMDD
    unsigned bits = 0;        // 32 or 64 by the entry's view; 0 for the user's entries
    bool perUser = false;
    bool hidden = false;
};

class ProgramList {
public:
    // The machine's entries in the order and views the report lists them,
    // then the current user's.
    void setProgramList();

    const std::vector<Program>& programs() const { return programs_; }

private:
    void readEntry(RegRoot root, const char* subKeyName, uint32_t view);

    std::vector<Program> programs_;
};

}  // namespace kel
