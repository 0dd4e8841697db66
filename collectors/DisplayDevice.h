// One display adapter as the display collector keeps it.
#pragma once

#include "collectors/KelApi.h"

#include <string>

namespace kel {

struct KEL_API DisplayDevice {
    std::string adapterName;
    std::string dacType;
    std::string chipType;
    std::string memorySize;
    std::string biosDate;
    std::string biosVersion;
    int logPixelsY = 0;
    int horzRes = 0;
    int vertRes = 0;
    int bitsPerPixel = 0;
    std::string technology;
    int horzSize = 0;
    int vertSize = 0;
    int aspectX = 0;
    int aspectY = 0;
    int aspectXY = 0;
};

}  // namespace kel
