#include "recorded/Excerpt.h"

#include "recorded/Unicode.h"

namespace kel {

namespace {

constexpr std::size_t kMaxCharacters = 40;

bool isContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

}  // namespace

std::string excerpt(const std::string& utf8)
{
    std::string part;
    std::size_t characters = 0;
    std::size_t at = 0;
    for (; at < utf8.size(); ++at) {
        char c = utf8[at];
        if (!isContinuationByte(c) && characters++ == kMaxCharacters)
            break;
        part.push_back(static_cast<unsigned char>(c) < 0x20 ? '?' : c);
    }
    return "\"" + part + (at < utf8.size() ? "...\"" : "\"");
}

std::string excerpt(const std::u16string& text) { return excerpt(unicode::utf16ToUtf8(text)); }

}  // namespace kel
