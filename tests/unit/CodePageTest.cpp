// The code-page converter, which must answer alike on the host (iconv) and
// on Windows (the platform's own conversion).

#include "recorded/CodePage.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace kel {
namespace {

// UTF-16 code units in hexadecimal, for messages.
std::string unitsOf(const std::u16string& text)
{
    std::string out;
    char unit[8];
    for (char16_t c : text) {
        std::snprintf(unit, sizeof unit, "%04x ", static_cast<unsigned>(c));
        out += unit;
    }
    return out;
}

TEST(CodePage, KnownAndUnknownPages)
{
    for (uint32_t number : {1252u, 949u, 932u, 1251u}) {
        auto page = CodePage::open(number);
        ASSERT_TRUE(page) << number;
        EXPECT_EQ(page->number(), number);
    }
    EXPECT_FALSE(CodePage::open(12345));
}

TEST(CodePage, RoundTripsAndUnmappableCharacters)
{
    const struct {
        uint32_t page;
        std::u16string wide;
        std::string ansi;
    } cases[] = {
        {1252, u"caf\u00e9 \u20ac", "caf\xE9 \x80"},
        {1252, u"\uAC00x", "?x"},
        {949, u"\uAC00\uD55C", "\xB0\xA1\xC7\xD1"},
        {949, u"\u00e9", "?"},
        {1251, u"\u0416", "\xC6"},
        // What Windows' tables have beyond the host's iconv.
        {1252, u"\u0081\u008D\u008F\u0090\u009D", "\x81\x8D\x8F\x90\x9D"},
        {949, u"\u0080\uF8F7\uE000\uE05D\uE05E\uE0BB", "\x80\xFF\xC9\xA1\xC9\xFE\xFE\xA1\xFE\xFE"},
        {1252, u"", ""},
    };
    for (const auto& c : cases) {
        auto page = CodePage::open(c.page);
        ASSERT_TRUE(page);
        EXPECT_EQ(page->fromUtf16(c.wide), c.ansi) << "page " << c.page;
        if (c.ansi.find('?') == std::string::npos) {
            EXPECT_EQ(page->toUtf16(c.ansi), c.wide) << "page " << c.page;
        }
    }
}

// Code page 949 as Windows reads bytes that name no character: a lead byte
// takes the byte after it, unless that is a NUL, and an unassigned pair or a
// lone lead byte is '?'.
TEST(CodePage, UnassignedPairsAndLoneLeadBytes)
{
    const struct {
        std::string ansi;
        std::u16string wide;
    } cases[] = {
        {"x\xA2\xE8y", u"x?y"},
        {"\xC9\x41\xFE\x41", u"??"},
        {"\x81\x20"
         "b",
         u"?b"},
        {"a\x81", u"a?"},
        {std::string("\x81\0", 2), std::u16string(u"?\0", 2)},
    };
    auto page = CodePage::open(949);
    ASSERT_TRUE(page);
    for (const auto& c : cases) {
        EXPECT_EQ(unitsOf(page->toUtf16(c.ansi)), unitsOf(c.wide)) << ::testing::PrintToString(c.ansi);
    }
}

}  // namespace
}  // namespace kel
