#include "platform/recorded/CodePage.h"

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
            char* target = chunk.data();
            std::size_t room = chunk.size();
            std::size_t result = iconv(handle_, &source, &left, &target, &room);
            out.append(chunk.data(), static_cast<std::size_t>(target - chunk.data()));
            if (result == static_cast<std::size_t>(-1) && errno != E2BIG) {
                std::size_t skip = unitSize < left ? unitSize : left;
                source += skip;
                left -= skip;
                out += replacement;
                iconv(handle_, nullptr, nullptr, nullptr, nullptr);
            }
        }
        return out;
    }

private:
    iconv_t handle_;
};

std::string iconvName(uint32_t number)
{
    return "CP" + std::to_string(number);
}

}  // namespace

struct CodePage::Converters {
    Converters(uint32_t number)
        : toAnsi(iconvName(number), "UTF-16LE"), fromAnsi("UTF-16LE", iconvName(number))
    {
    }
    Iconv toAnsi;
    Iconv fromAnsi;
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
    std::string bytes(reinterpret_cast<const char*>(text.data()), text.size() * 2);
    return converters_->toAnsi.convert(bytes, 2, "?");
}

std::u16string CodePage::toUtf16(const std::string& text) const
{
    std::string bytes = converters_->fromAnsi.convert(text, 1, std::string("\xFD\xFF", 2));
    return std::u16string(reinterpret_cast<const char16_t*>(bytes.data()), bytes.size() / 2);
}

#endif

CodePage::CodePage(uint32_t number, std::unique_ptr<Converters> converters)
    : number_(number), converters_(std::move(converters))
{
}

CodePage::~CodePage() = default;

}  // namespace kel
