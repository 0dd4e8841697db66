// The code-page converter, which must answer alike on the host (iconv) and
// on Windows (the platform's own conversion).

#include "platform/recorded/CodePage.h"

#include <gtest/gtest.h>

namespace kel {
namespace {

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

}  // namespace
}  // namespace kel
