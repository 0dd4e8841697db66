// How every get-operation hands text to the caller's report buffer.
#pragma once

#include <cstddef>
#include <string>

namespace kel {

// Copies text and its NUL into buffer when the text's length is less than
// size, compared as unsigned numbers; otherwise leaves the buffer untouched.
// The module's own: only the collector classes are exported.
bool writeTextIfFits(const std::string& text, char* buffer, int size);

// For lists whose entries are their own text.
inline const std::string& textItself(const std::string& text) { return text; }

// The texts of a list's entries joined by "|", none before the first or
// after the last.
template <class List, class TextOf>
std::string joinedTexts(const List& list, TextOf textOf)
{
    std::string joined;
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (i > 0)
            joined += '|';
        joined += textOf(list[i]);
    }
    return joined;
}

// The description shape every list collector shares: -1 for an index outside
// the list, tooSmall when the text does not fit, 1 when it was written.
template <class List, class TextOf>
int describeEntry(const List& list, int index, char* buffer, int size, TextOf textOf, int tooSmall = -1)
{
    if (index < 0 || static_cast<std::size_t>(index) >= list.size())
        return -1;
    return writeTextIfFits(textOf(list[static_cast<std::size_t>(index)]), buffer, size) ? 1 : tooSmall;
}

// The whole-list shape: the joined text, 1 when written, -1 otherwise.
template <class List, class TextOf>
int describeAll(const List& list, char* buffer, int size, TextOf textOf)
{
    return writeTextIfFits(joinedTexts(list, textOf), buffer, size) ? 1 : -1;
}

}  // namespace kel
