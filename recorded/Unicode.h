// UTF-8 and UTF-16 helpers for the recorded machine's files, and the case
// folding the registry applies to key and value names.
#pragma once

#include <cstddef>
#include <string>

namespace kel {
namespace unicode {

// Decodes UTF-8 into UTF-16. False on a malformed sequence; *badOffset then
// holds the byte offset of the sequence.
bool utf8ToUtf16(const std::string& text, std::u16string* out, std::size_t* badOffset);

// Encodes UTF-16 as UTF-8 (for messages); lone surrogates become U+FFFD.
std::string utf16ToUtf8(const std::u16string& text);

// UTF-16LE bytes as code units; an odd last byte is dropped.
std::u16string fromUtf16leBytes(const std::string& bytes);
std::string toUtf16leBytes(const std::u16string& text);

// Folds one code unit to upper case the way the registry compares names:
// ASCII, Latin-1, Latin Extended-A, Greek and Cyrillic letters.
char16_t foldUpper(char16_t c);
std::u16string foldUpper(const std::u16string& text);

// Case-insensitive equality of two names under foldUpper.
bool equalFolded(const std::u16string& a, const std::u16string& b);

}  // namespace unicode
}  // namespace kel
