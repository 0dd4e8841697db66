// The identifier inventory servers know a PC by: NAME-YYYY-MM-DD-HH-MM-SS,
// made once per PC from its name and the time of its first inventory, then
// kept, so that a renamed PC stays the same PC.
#pragma once

#include <ctime>
#include <string>

namespace kel {

inline bool isDigitChar(char c) { return c >= '0' && c <= '9'; }

// True for NAME-YYYY-MM-DD-HH-MM-SS with a name of at least one character.
inline bool isDeviceId(const std::string& text)
{
    const std::string stamp = "dddd-dd-dd-dd-dd-dd";
    if (text.size() < stamp.size() + 2 || text[text.size() - stamp.size() - 1] != '-')
        return false;
    const std::size_t start = text.size() - stamp.size();
    for (std::size_t i = 0; i < stamp.size(); ++i) {
        if (stamp[i] == 'd' ? !isDigitChar(text[start + i]) : text[start + i] != '-')
            return false;
    }
    return true;
}

// The identifier of a PC named name (UTF-8) first inventoried at local time
// when; a PC without a name is "unknown".
std::string makeDeviceId(const std::string& name, const std::tm& when);

// The identifier kept in file, made and kept there when the file holds none
// (its folder is made too). *kept is false when it could not be written, so
// that the next run makes another.
std::string keptDeviceId(const std::string& file, const std::string& name, bool* kept);

}  // namespace kel
