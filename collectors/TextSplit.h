// Splitting a text at every separator, empty pieces kept, as the brand-string
// cleaning and the indirect-string arguments both need.
#pragma once

#include <string>
#include <vector>

namespace kel {

inline std::vector<std::string> splitAt(const std::string& text, char separator)
{
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = text.find(separator, start);
        parts.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos)
            return parts;
        start = end + 1;
    }
}

}  // namespace kel
