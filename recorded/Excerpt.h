// The piece of bad input a message quotes: at most 40 characters, control
// characters shown as '?', in double quotes, so that every message stays one
// short printable line.
#pragma once

#include <string>

namespace kel {

std::string excerpt(const std::string& utf8);
std::string excerpt(const std::u16string& text);

}  // namespace kel
