#include "platform/NameCase.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(NameCaseTest, FoldsLetterCaseBeyondAscii) {
    struct Case {
        std::string A, B;
        bool Same;
    };
    const Case cases[] = {
        {"Texture.ABC", "texture.abc", true},
        {"\xC3\x89T\xC3\x89.BMP", "\xC3\xA9t\xC3\xA9.bmp", true}, // ÉTÉ / été
        {"\xC5\x92UVRE \xC5\xA0", "\xC5\x93uvre \xC5\xA1", true}, // Œ Š / œ š, beyond Latin-1 in Windows-1252
        {"\xC5\xB8", "\xC3\xBF", true},                           // Ÿ / ÿ
        {"\xC3\x97", "\xC3\xB7", false},                          // × / ÷ are no letters
        {"\xCE\xA3\xCE\x9F", "\xCF\x83\xCE\xBF", true},           // Greek ΣΟ / σο
        {"\xD0\x90\xD0\x91", "\xD0\xB0\xD0\xB1", true},           // Cyrillic АБ / аб
        {"a\xCE\xA3.bmp", "a?.bmp", false},                       // no longer one '?' for every foreign letter
        {"\xCE\xA3.bmp", "\xD0\x96.bmp", false},
        {"a.bmp", "b.bmp", false},
        {"\xC3\xA9", "e", false},
        {"\xFF\xFE", "\xFF\xFE", true}, // not UTF-8: compared as bytes
        {"\xFF", "\xC3\xBF", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(wh::FoldNameCase(c.A) == wh::FoldNameCase(c.B), c.Same) << c.A << " / " << c.B;
}

} // namespace
