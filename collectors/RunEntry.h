// One value of a Run or RunOnce key.
#pragma once

#include "collectors/KelApi.h"

#include <string>

namespace kel {

struct KEL_API RunEntry {
    std::string valueName;
    std::string valueData;
};

}  // namespace kel
