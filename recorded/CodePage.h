// Conversion between UTF-16 and a Windows ANSI code page given by its number
// (1252, 949, ...): the platform's own conversion in the Windows flavours; on
// the host glibc's iconv, completed to Windows' table for 1252 and 949.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace kel {

class CodePage {
public:
    // Null when the platform does not know the code page.
    static std::unique_ptr<CodePage> open(uint32_t number);
    ~CodePage();
    CodePage(const CodePage&) = delete;
    CodePage& operator=(const CodePage&) = delete;

    uint32_t number() const { return number_; }

    // Characters the code page cannot represent become '?', as the
    // platform's own conversion does with its default character.
    std::string fromUtf16(const std::u16string& text) const;
    // As Windows converts 1252 and 949: every byte and pair means a
    // character, a pair the table leaves unassigned is '?'. In other code
    // pages bytes iconv does not know become U+FFFD.
    std::u16string toUtf16(const std::string& text) const;

private:
    struct Converters;
    CodePage(uint32_t number, std::unique_ptr<Converters> converters);

    uint32_t number_;
    std::unique_ptr<Converters> converters_;
};

}  // namespace kel
