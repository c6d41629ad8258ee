#include "platform/Codepage.h"

#include <gtest/gtest.h>

namespace {

TEST(CodepageTest, EveryByteSurvivesTheRoundTripThroughUtf8) {
    std::u16string utf16 = u"what the buffer held";
    for (int b = 0; b < 256; ++b) {
        const std::string ansi(1, static_cast<char>(b));
        const std::string utf8 = wh::AnsiToUtf8(ansi);
        // Bytes above ASCII become multi-byte sequences, never themselves.
        EXPECT_EQ(utf8.size() > 1, b >= 0x80) << b;
        EXPECT_EQ(wh::Utf8ToAnsi(utf8), ansi) << b;
        char32_t cp = 0; // UTF-16 names the same character, in one unit
        wh::DecodeUtf8(utf8, 0, cp);
        wh::AnsiToUtf16(ansi, utf16);
        EXPECT_EQ(utf16, std::u16string(1, static_cast<char16_t>(cp))) << b;
    }
}

TEST(CodepageTest, ConvertsToTheUnicodeCharacters) {
    struct Case {
        std::string Ansi, Utf8;
    };
    const Case cases[] = {
        {"Abc", "Abc"},
        {"\x80", "\xE2\x82\xAC"}, // euro sign
        {"\x8A", "\xC5\xA0"},     // S with caron
        {"\x9F", "\xC5\xB8"},     // Y with diaeresis
        {"\xC4", "\xC3\x84"},     // A with diaeresis
        {"\xFF", "\xC3\xBF"},
        {"\xA0", "\xC2\xA0"},
        // The five bytes the code page leaves undefined keep their value.
        {"\x81", "\xC2\x81"},
        {"\x8D", "\xC2\x8D"},
        {"\x8F", "\xC2\x8F"},
        {"\x90", "\xC2\x90"},
        {"\x9D", "\xC2\x9D"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(wh::AnsiToUtf8(c.Ansi), c.Utf8) << c.Ansi;
        EXPECT_EQ(wh::Utf8ToAnsi(c.Utf8), c.Ansi) << c.Ansi;
    }
}

TEST(CodepageTest, UnmappableAndMalformedUtf8) {
    struct Case {
        std::string Utf8, Ansi;
    };
    const Case cases[] = {
        {"\xE6\x97\xA5", "?"},         // a CJK character
        {"a\xF0\x9F\x98\x80z", "a?z"}, // an emoji, four bytes
        {"\xC2\x80", "?"},             // U+0080 is not byte 0x80 in this code page
        {"\xC3", "\xC3"},              // cut short: taken as the byte itself
        {"\xC3(", "\xC3("},
        {"\xC0\xAF", "\xC0\xAF"},         // overlong form of "/"
        {"\xED\xA0\x80", "\xED\xA0\x80"}, // a lone surrogate
    };
    for (const Case& c : cases)
        EXPECT_EQ(wh::Utf8ToAnsi(c.Utf8), c.Ansi) << c.Utf8;
}

TEST(CodepageTest, LowerCasesLettersOfTheCodePage) {
    struct Case {
        char Upper, Lower;
    };
    const Case cases[] = {
        {'A', 'a'},       {'Z', 'z'}, {'a', 'a'}, {'0', '0'}, {'[', '['}, {'\x8A', '\x9A'}, // Š
        {'\x8C', '\x9C'},                                                                   // Œ
        {'\x8E', '\x9E'},                                                                   // Ž
        {'\x9F', '\xFF'},                                                                   // Ÿ
        {'\xC0', '\xE0'},                                                                   // À
        {'\xDE', '\xFE'},                                                                   // Þ
        {'\xD7', '\xD7'},                                                                   // × is no letter
        {'\xDF', '\xDF'}, // ß has no single upper-case form
        {'\xE0', '\xE0'},
    };
    for (const Case& c : cases)
        EXPECT_EQ(wh::AnsiLowerChar(c.Upper), c.Lower) << static_cast<int>(static_cast<unsigned char>(c.Upper));
    EXPECT_EQ(wh::AnsiLowerCase("\xC0IRBUS \x8A"), "\xE0irbus \x9A");
}

TEST(CodepageTest, SameTextIgnoresCaseOnly) {
    EXPECT_TRUE(wh::AnsiSameText("Texture.\xC4"
                                 "BC",
                                 "texture.\xE4"
                                 "bc"));
    EXPECT_TRUE(wh::AnsiSameText("", ""));
    EXPECT_FALSE(wh::AnsiSameText("abc", "abcd"));
    EXPECT_FALSE(wh::AnsiSameText("\xD7", "\xF7"));
}

TEST(CodepageTest, TrimRemovesControlsAndBlanksAtBothEnds) {
    struct Case {
        std::string Text, Trimmed;
    };
    const Case cases[] = {
        {"  abc  ", "abc"}, {"\t\r\n a b \x01", "a b"}, {"   ", ""},
        {"", ""},           {"\xA0x\xA0", "\xA0x\xA0"}, // a no-break space is above 32
    };
    for (const Case& c : cases)
        EXPECT_EQ(wh::Trim(c.Text), c.Trimmed);
}

} // namespace
