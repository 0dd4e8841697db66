// The inventory's texts leave Kel as UTF-8.
#pragma once

#include <string>

namespace kel {

// UTF-16 to UTF-8; a lone surrogate becomes U+FFFD.
std::string toUtf8(const std::u16string& text);

// Text of the machine's ANSI code page as UTF-8, converted as the report is.
// Raises std::bad_alloc when memory runs out.
std::string ansiToUtf8(const std::string& ansi);

}  // namespace kel
