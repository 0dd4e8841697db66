#include "recorded/CodePage.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <iconv.h>
#endif

#include <vector>

namespace kel {

#ifdef _WIN32

struct CodePage::Converters {};

std::unique_ptr<CodePage> CodePage::open(uint32_t number)
{
    if (!IsValidCodePage(number))
        return nullptr;
    return std::unique_ptr<CodePage>(new CodePage(number, std::make_unique<Converters>()));
}

std::string CodePage::fromUtf16(const std::u16string& text) const
{
    if (text.empty())
        return std::string();
    const wchar_t* wide = reinterpret_cast<const wchar_t*>(text.data());
    int length = static_cast<int>(text.size());
    // No best-fit look-alikes: a character the page lacks is '?', as on
    // the host.
    int needed = WideCharToMultiByte(number_, WC_NO_BEST_FIT_CHARS, wide, length, nullptr, 0, "?", nullptr);
    std::string out(static_cast<std::size_t>(needed), '\0');
    WideCharToMultiByte(number_, WC_NO_BEST_FIT_CHARS, wide, length, &out[0], needed, "?", nullptr);
    return out;
}

std::u16string CodePage::toUtf16(const std::string& text) const
{
    if (text.empty())
        return std::u16string();
    int length = static_cast<int>(text.size());
    int needed = MultiByteToWideChar(number_, 0, text.data(), length, nullptr, 0);
    std::u16string out(static_cast<std::size_t>(needed), u'\0');
    MultiByteToWideChar(number_, 0, text.data(), length, reinterpret_cast<wchar_t*>(&out[0]), needed);
    return out;
}

#else

namespace {

// Codes of a code page are a byte, or a lead byte and a trail byte as
// lead << 8 | trail.
using Code = uint16_t;

// A run of codes that Windows' table of a code page maps and the host's
// iconv does not: count codes from firstCode map to as many characters from
// firstChar, both ways.
struct ExtraRun {
    Code firstCode;
    uint16_t count;
    char16_t firstChar;
};

// What Windows' conversion of a code page does beyond iconv's: the extra
// runs; for a double-byte page, its lead bytes, of which a pair the table
// does not assign (or a lead byte with nothing after it) is one default
// character. Checked against Windows' own tables, code by code.
struct WindowsTable {
    uint32_t number;
    uint8_t firstLead;  // 0: a single-byte page
    uint8_t lastLead;
    const ExtraRun* extras;
    std::size_t extraCount;
};

// cp1252 maps the five bytes it leaves unassigned to the C1 controls of the
// same number.
const ExtraRun k1252Extras[] = {
    {0x81, 1, 0x0081},
    {0x8D, 1, 0x008D},
    {0x8F, 2, 0x008F},
    {0x9D, 1, 0x009D},
};
// cp949 maps two single bytes and the user-defined pairs of leads C9 and FE
// (trails A1-FE) into the private use area.
const ExtraRun k949Extras[] = {
    {0x80, 1, 0x0080},
    {0xFF, 1, 0xF8F7},
    {0xC9A1, 94, 0xE000},
    {0xFEA1, 94, 0xE05E},
};

const WindowsTable kWindowsTables[] = {
    {1252, 0, 0, k1252Extras, sizeof k1252Extras / sizeof k1252Extras[0]},
    {949, 0x81, 0xFE, k949Extras, sizeof k949Extras / sizeof k949Extras[0]},
};

const WindowsTable* windowsTable(uint32_t number)
{
    for (const WindowsTable& table : kWindowsTables) {
        if (table.number == number)
            return &table;
    }
    return nullptr;
}

// One iconv descriptor, closed with its owner.
class Iconv {
public:
    Iconv(const std::string& to, const std::string& from) : handle_(iconv_open(to.c_str(), from.c_str())) {}
    ~Iconv()
    {
        if (valid())
            iconv_close(handle_);
    }
    Iconv(const Iconv&) = delete;
    Iconv& operator=(const Iconv&) = delete;
    bool valid() const { return handle_ != reinterpret_cast<iconv_t>(-1); }

    // Converts in, replacing each unconvertible input unit of unitSize bytes
    // by replacement; a lead unit whose sequence is cut off counts as one.
    std::string convert(const std::string& in, std::size_t unitSize, const std::string& replacement) const
    {
        std::string out;
        std::vector<char> chunk(4 * in.size() + 16);
        char* source = const_cast<char*>(in.data());
        std::size_t left = in.size();
        iconv(handle_, nullptr, nullptr, nullptr, nullptr);
        while (left > 0) {
            if (!step(&source, &left, &chunk, &out)) {
                std::size_t skip = unitSize < left ? unitSize : left;
                source += skip;
                left -= skip;
                out += replacement;
                iconv(handle_, nullptr, nullptr, nullptr, nullptr);
            }
        }
        return out;
    }

    // Converts one whole code alone: false, with nothing added to out, when
    // iconv does not know it.
    bool convertCode(const std::string& code, std::string* out) const
    {
        std::vector<char> chunk(16);
        char* source = const_cast<char*>(code.data());
        std::size_t left = code.size();
        std::string converted;
        iconv(handle_, nullptr, nullptr, nullptr, nullptr);
        if (!step(&source, &left, &chunk, &converted) || left > 0)
            return false;
        *out += converted;
        return true;
    }

private:
    // One call into iconv, appending what it gave; false when it stopped at
    // input it cannot convert.
    bool step(char** source, std::size_t* left, std::vector<char>* chunk, std::string* out) const
    {
        char* target = chunk->data();
        std::size_t room = chunk->size();
        std::size_t result = iconv(handle_, source, left, &target, &room);
        out->append(chunk->data(), static_cast<std::size_t>(target - chunk->data()));
        return result != static_cast<std::size_t>(-1) || errno == E2BIG;
    }

    iconv_t handle_;
};

// Converts by Windows' table of a code page, code by code, since where iconv
// stops on a bad pair says nothing of how many bytes Windows takes: ASCII is
// itself, the extra runs are the table's, iconv converts the rest and what it
// does not know is '?'.
class TableConversion {
public:
    TableConversion(const WindowsTable& table, const Iconv& toAnsi, const Iconv& fromAnsi)
        : table_(table), toAnsi_(toAnsi), fromAnsi_(fromAnsi)
    {
    }

    std::u16string toUtf16(const std::string& text) const
    {
        std::string bytes;  // UTF-16LE
        for (std::size_t at = 0; at < text.size();) {
            std::size_t length = codeLength(text, at);
            Code number = static_cast<Code>(length == 2 ? byteAt(text, at) << 8 | byteAt(text, at + 1)
                                                        : byteAt(text, at));
            const ExtraRun* run = findRun([number](const ExtraRun& r) { return number - r.firstCode; });
            if (run)
                appendUtf16le(static_cast<char16_t>(run->firstChar + (number - run->firstCode)), &bytes);
            else if (number < 0x80)
                appendUtf16le(number, &bytes);
            else if (!fromAnsi_.convertCode(text.substr(at, length), &bytes))
                appendUtf16le(u'?', &bytes);
            at += length;
        }
        return std::u16string(reinterpret_cast<const char16_t*>(bytes.data()), bytes.size() / 2);
    }

    std::string fromUtf16(const std::u16string& text) const
    {
        std::string out;
        for (char16_t c : text) {
            const ExtraRun* run = findRun([c](const ExtraRun& r) { return c - r.firstChar; });
            if (run)
                appendCode(static_cast<Code>(run->firstCode + (c - run->firstChar)), &out);
            else if (c < 0x80)
                out.push_back(static_cast<char>(c));
            else if (!toAnsi_.convertCode(std::string(reinterpret_cast<const char*>(&c), 2), &out))
                out.push_back('?');
        }
        return out;
    }

private:
    static unsigned byteAt(const std::string& text, std::size_t at)
    {
        return static_cast<unsigned char>(text[at]);
    }

    static void appendUtf16le(char16_t c, std::string* out)
    {
        out->push_back(static_cast<char>(c & 0xFF));
        out->push_back(static_cast<char>(c >> 8));
    }

    static void appendCode(Code code, std::string* out)
    {
        if (code > 0xFF)
            out->push_back(static_cast<char>(code >> 8));
        out->push_back(static_cast<char>(code & 0xFF));
    }

    // A lead byte takes the byte after it, unless that is a NUL or there is
    // none: then the lead byte alone is a code the table does not know.
    std::size_t codeLength(const std::string& text, std::size_t at) const
    {
        unsigned byte = byteAt(text, at);
        bool lead = table_.firstLead != 0 && byte >= table_.firstLead && byte <= table_.lastLead;
        return lead && at + 1 < text.size() && text[at + 1] != '\0' ? 2 : 1;
    }

    // The run in which offsetOf(run) falls inside [0, count).
    template <typename Offset>
    const ExtraRun* findRun(Offset offsetOf) const
    {
        for (std::size_t i = 0; i < table_.extraCount; ++i) {
            int offset = offsetOf(table_.extras[i]);
            if (offset >= 0 && offset < table_.extras[i].count)
                return &table_.extras[i];
        }
        return nullptr;
    }

    const WindowsTable& table_;
    const Iconv& toAnsi_;
    const Iconv& fromAnsi_;
};

std::string iconvName(uint32_t number) { return "CP" + std::to_string(number); }

}  // namespace

struct CodePage::Converters {
    Converters(uint32_t number)
        : toAnsi(iconvName(number), "UTF-16LE"), fromAnsi("UTF-16LE", iconvName(number)),
          table(windowsTable(number))
    {
    }
    Iconv toAnsi;
    Iconv fromAnsi;
    const WindowsTable* table;  // null: iconv alone
};

std::unique_ptr<CodePage> CodePage::open(uint32_t number)
{
    auto converters = std::make_unique<Converters>(number);
    if (!converters->toAnsi.valid() || !converters->fromAnsi.valid())
        return nullptr;
    return std::unique_ptr<CodePage>(new CodePage(number, std::move(converters)));
}

std::string CodePage::fromUtf16(const std::u16string& text) const
{
    const Converters& c = *converters_;
    if (c.table)
        return TableConversion(*c.table, c.toAnsi, c.fromAnsi).fromUtf16(text);
    std::string bytes(reinterpret_cast<const char*>(text.data()), text.size() * 2);
    return c.toAnsi.convert(bytes, 2, "?");
}

std::u16string CodePage::toUtf16(const std::string& text) const
{
    const Converters& c = *converters_;
    if (c.table)
        return TableConversion(*c.table, c.toAnsi, c.fromAnsi).toUtf16(text);
    std::string bytes = c.fromAnsi.convert(text, 1, std::string("\xFD\xFF", 2));
    return std::u16string(reinterpret_cast<const char16_t*>(bytes.data()), bytes.size() / 2);
}

#endif

CodePage::CodePage(uint32_t number, std::unique_ptr<Converters> converters)
    : number_(number), converters_(std::move(converters))
{
}

CodePage::~CodePage() = default;

}  // namespace kel
