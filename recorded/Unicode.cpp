#include "recorded/Unicode.h"

namespace kel {
namespace unicode {

namespace {

// Length of the UTF-8 sequence that starts with lead, 0 for a bad lead byte.
int sequenceLength(unsigned char lead)
{
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF)
        return 2;
    if (lead >= 0xE0 && lead <= 0xEF)
        return 3;
    if (lead >= 0xF0 && lead <= 0xF4)
        return 4;
    return 0;
}

bool decodeOne(const std::string& text, std::size_t at, char32_t* codePoint, std::size_t* length)
{
    unsigned char lead = static_cast<unsigned char>(text[at]);
    int n = sequenceLength(lead);
    if (n == 0 || at + n > text.size())
        return false;
    static const unsigned char leadMask[] = {0, 0x7F, 0x1F, 0x0F, 0x07};
    char32_t value = lead & leadMask[n];
    for (int i = 1; i < n; ++i) {
        unsigned char next = static_cast<unsigned char>(text[at + i]);
        if ((next & 0xC0) != 0x80)
            return false;
        value = (value << 6) | (next & 0x3F);
    }
    static const char32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (value < smallest[n] || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
        return false;
    *codePoint = value;
    *length = static_cast<std::size_t>(n);
    return true;
}

void appendUtf16(char32_t codePoint, std::u16string* out)
{
    if (codePoint < 0x10000) {
        out->push_back(static_cast<char16_t>(codePoint));
        return;
    }
    codePoint -= 0x10000;
    out->push_back(static_cast<char16_t>(0xD800 + (codePoint >> 10)));
    out->push_back(static_cast<char16_t>(0xDC00 + (codePoint & 0x3FF)));
}

void appendUtf8(char32_t c, std::string* out)
{
    if (c < 0x80) {
        out->push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out->push_back(static_cast<char>(0xC0 | (c >> 6)));
        out->push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out->push_back(static_cast<char>(0xE0 | (c >> 12)));
        out->push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out->push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out->push_back(static_cast<char>(0xF0 | (c >> 18)));
        out->push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out->push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out->push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

bool isHigh(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool isLow(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

}  // namespace

bool utf8ToUtf16(const std::string& text, std::u16string* out, std::size_t* badOffset)
{
    out->clear();
    out->reserve(text.size());
    std::size_t at = 0;
    while (at < text.size()) {
        char32_t codePoint = 0;
        std::size_t length = 0;
        if (!decodeOne(text, at, &codePoint, &length)) {
            *badOffset = at;
            return false;
        }
        appendUtf16(codePoint, out);
        at += length;
    }
    return true;
}

std::string utf16ToUtf8(const std::u16string& text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char16_t c = text[i];
        if (isHigh(c) && i + 1 < text.size() && isLow(text[i + 1])) {
            appendUtf8(0x10000 + ((char32_t(c) - 0xD800) << 10) + (text[i + 1] - 0xDC00), &out);
            ++i;
        } else if (isHigh(c) || isLow(c)) {
            appendUtf8(0xFFFD, &out);
        } else {
            appendUtf8(c, &out);
        }
    }
    return out;
}

std::u16string fromUtf16leBytes(const std::string& bytes)
{
    std::u16string out;
    out.reserve(bytes.size() / 2);
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        out.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                            (static_cast<unsigned char>(bytes[i + 1]) << 8)));
    }
    return out;
}

std::string toUtf16leBytes(const std::u16string& text)
{
    std::string out;
    out.reserve(text.size() * 2);
    for (char16_t c : text) {
        out.push_back(static_cast<char>(c & 0xFF));
        out.push_back(static_cast<char>(c >> 8));
    }
    return out;
}

char16_t foldUpper(char16_t c)
{
    if (c >= u'a' && c <= u'z')
        return static_cast<char16_t>(c - 0x20);
    if (c < 0xE0)
        return c;
    if (c <= 0xFE)  // Latin-1 small letters, except the division sign
        return c == 0xF7 ? c : static_cast<char16_t>(c - 0x20);
    if (c == 0xFF)
        return 0x178;
    if (c >= 0x100 && c <= 0x17F) {  // Latin Extended-A pairs
        bool oddPairs = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
        bool small =
            oddPairs ? (c % 2 == 0) : (c % 2 == 1 && c != 0x131 && c != 0x138 && c != 0x149 && c != 0x17F);
        return small ? static_cast<char16_t>(c - 1) : c;
    }
    if (c >= 0x3B1 && c <= 0x3CB && c != 0x3C2)  // Greek
        return static_cast<char16_t>(c - 0x20);
    if (c >= 0x430 && c <= 0x44F)  // Cyrillic
        return static_cast<char16_t>(c - 0x20);
    if (c >= 0x450 && c <= 0x45F)
        return static_cast<char16_t>(c - 0x50);
    return c;
}

std::u16string foldUpper(const std::u16string& text)
{
    std::u16string out(text);
    for (char16_t& c : out)
        c = foldUpper(c);
    return out;
}

bool equalFolded(const std::u16string& a, const std::u16string& b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (foldUpper(a[i]) != foldUpper(b[i]))
            return false;
    }
    return true;
}

}  // namespace unicode
}  // namespace kel
