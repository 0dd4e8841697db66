// Conversion between UTF-16 and a Windows ANSI code page given by its number
// (1252, 949, ...): glibc's iconv on the host, the platform's own conversion
// in the Windows flavours.
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
    // Bytes that are not valid in the code page become U+FFFD.
    std::u16string toUtf16(const std::string& text) const;

private:
    struct Converters;
    CodePage(uint32_t number, std::unique_ptr<Converters> converters);

    uint32_t number_;
    std::unique_ptr<Converters> converters_;
};

}  // namespace kel
