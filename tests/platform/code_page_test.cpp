#include "platform/code_page.h"

#include <gtest/gtest.h>

namespace quarnel::platform {
namespace {

TEST(CodePage, RoundTripsInWesternAndChineseCodePages)
{
    struct Case {
        int codePage;
        std::u16string text;
        std::string bytes;
    };
    const Case cases[] = {
        {1252, u"Caf\u00e9 \u20ac5", "Caf\xE9 \x80" "5"},
        {936, u"\u4e2d\u6587 A", "\xD6\xD0\xCE\xC4 A"},
        {936, u"\u201c\u201d", "\xA1\xB0\xA1\xB1"},
        {65001, u"\u00e9\U0001F600", "\xC3\xA9\xF0\x9F\x98\x80"},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(utf16ToCodePage(c.text, c.codePage), c.bytes) << c.codePage;
        EXPECT_EQ(codePageToUtf16(c.bytes, c.codePage), c.text) << c.codePage;
    }
}

TEST(CodePage, UnrepresentableCharactersBecomeQuestionMarks)
{
    EXPECT_EQ(utf16ToCodePage(u"a\u4e2db", 1252), "a?b");
    EXPECT_EQ(utf16ToCodePage(u"\U0001F600x", 1252), "?x"); // one character, one '?'
    EXPECT_EQ(utf16ToCodePage(u"\u00e9", 936), "\xA8\xA6");
    EXPECT_EQ(utf16ToCodePage(u"\u0e01", 936), "?");
    const char16_t loneSurrogate[] = {0xD800, u'z', 0};
    EXPECT_EQ(utf16ToCodePage(loneSurrogate, 65001), "?z");
}

TEST(CodePage, EncoderKeepsItsConverterAcrossCalls)
{
    CodePageEncoder encoder(1252);
    std::string out;
    encoder.append(u"\u00e9", out);
    encoder.append(u"\u4e2d", out);
    encoder.append(u"e", out);
    EXPECT_EQ(out, "\xE9?e");
}

TEST(CodePage, LocaleCharsetsMapToWindowsCodePages)
{
    EXPECT_EQ(codePageForCharset("UTF-8"), 65001);
    EXPECT_EQ(codePageForCharset("GB2312"), 936);
    EXPECT_EQ(codePageForCharset("gbk"), 936);
    EXPECT_EQ(codePageForCharset("BIG5"), 950);
    EXPECT_EQ(codePageForCharset("EUC-KR"), 949);
    EXPECT_EQ(codePageForCharset("ISO-8859-1"), 1252);
    EXPECT_EQ(codePageForCharset("ANSI_X3.4-1968"), 1252);
    EXPECT_EQ(codePageForCharset("something-else"), 1252);
}

TEST(CodePage, EnvironmentOverrideWinsWhenValid)
{
    EXPECT_EQ(resolveCodePage("936", "UTF-8"), 936);
    EXPECT_EQ(resolveCodePage("65001", "ANSI_X3.4-1968"), 65001);
    EXPECT_EQ(resolveCodePage(nullptr, "BIG5"), 950);
    EXPECT_EQ(resolveCodePage("abc", "UTF-8"), 65001);
    EXPECT_EQ(resolveCodePage("12345", "GBK"), 936);
    EXPECT_FALSE(iconvNameForCodePage(activeCodePage()).empty());
}

} // namespace
} // namespace quarnel::platform
