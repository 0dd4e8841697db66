// Identifiers written once as text (see KelIds.h) and read at compile time,
// so the C++ code uses the very values the type library was built from.
#pragma once

#include <guiddef.h>

#include <cstddef>

namespace kel::com {

namespace detail {
constexpr unsigned hexDigit(char c)
{
    return c >= '0' && c <= '9'   ? unsigned(c - '0')
           : c >= 'a' && c <= 'f' ? unsigned(c - 'a' + 10)
           : c >= 'A' && c <= 'F' ? unsigned(c - 'A' + 10)
                                  : throw "not a hexadecimal digit";
}
constexpr unsigned long hexValue(const char* text, int digits)
{
    unsigned long value = 0;
    for (int i = 0; i < digits; ++i)
        value = value * 16 + hexDigit(text[i]);
    return value;
}
}  // namespace detail

// "XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX", without braces.
template <std::size_t N>
constexpr GUID guidFromText(const char (&text)[N])
{
    static_assert(N == 37, "a GUID is 36 characters");
    using detail::hexValue;
    return GUID{hexValue(text, 8),
                static_cast<unsigned short>(hexValue(text + 9, 4)),
                static_cast<unsigned short>(hexValue(text + 14, 4)),
                {static_cast<unsigned char>(hexValue(text + 19, 2)),
                 static_cast<unsigned char>(hexValue(text + 21, 2)),
                 static_cast<unsigned char>(hexValue(text + 24, 2)),
                 static_cast<unsigned char>(hexValue(text + 26, 2)),
                 static_cast<unsigned char>(hexValue(text + 28, 2)),
                 static_cast<unsigned char>(hexValue(text + 30, 2)),
                 static_cast<unsigned char>(hexValue(text + 32, 2)),
                 static_cast<unsigned char>(hexValue(text + 34, 2))}};
}

}  // namespace kel::com
