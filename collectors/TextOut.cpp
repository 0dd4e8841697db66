#include "collectors/TextOut.h"

#include <cstring>

namespace kel {

bool writeTextIfFits(const std::string& text, char* buffer, int size)
{
    // A negative size would compare as a huge unsigned number; no caller's
    // buffer is that large, so it gets nothing.
    if (buffer == nullptr || size <= 0 || text.size() >= static_cast<unsigned int>(size))
        return false;
    std::memcpy(buffer, text.c_str(), text.size() + 1);
    return true;
}

}  // namespace kel
