#include "platform/KeyPath.h"

#include <cstring>

namespace kel {

KeyPath::KeyPath(const char* root, const char* name)
{
    const std::size_t rootLength = std::strlen(root);
    const std::size_t nameLength = std::strlen(name);
    fits_ = rootLength + 1 + nameLength < kCapacity;
    if (!fits_) {
        text_[0] = '\0';
        return;
    }
    std::memcpy(text_, root, rootLength);
    text_[rootLength] = '\\';
    std::memcpy(text_ + rootLength + 1, name, nameLength + 1);
}

}  // namespace kel
