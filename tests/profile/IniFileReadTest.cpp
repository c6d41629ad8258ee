#include <gtest/gtest.h>

#include <climits>
#include <optional>

#include "profile/IniFiles.h"
#include "tests/profile/ProfileTestFiles.h"
#include "tests/support/TempDir.h"

using namespace std::string_literals;
using wh::TIniFile;
using wh::test::JoinLines;
using wh::test::TTempDir;

namespace {

struct TValueCase {
    const char* Name;
    std::vector<std::string> Lines;
    std::string Section, Key, Default, Expected;
};

// Every case holds for each kind of line end, with or without a final one.
TEST(IniFileRead, ReadStringFollowsTheProfileRules) {
    const std::string longDefault(3000, 'd');
    const std::vector<TValueCase> cases = {
        {"plain", {"[s]", "k=v"}, "s", "k", "-", "v"},
        {"letter case ignored", {"[Sec]", "NaMe1=x"}, "sEC", "name1", "-", "x"},
        {"Windows-1252 letter case", {"[\xC4RGER]", "\xDC\x9A=1"}, "\xE4rger", "\xFC\x8A", "-", "1"},
        {"blanks around names and value", {"  [ s ]  ", "  key \t=  some value \t"}, "s", "key", "-", "some value"},
        {"arguments trimmed", {"[s]", "key=v"}, "  s ", " key\t", "-", "v"},
        {"first = splits", {"[s]", "a=b=c"}, "s", "a", "-", "b=c"},
        {"missing key", {"[s]", "k=v"}, "s", "x", "dflt", "dflt"},
        {"missing section", {"[s]", "k=v"}, "t", "k", "dflt", "dflt"},
        {"empty value is a value", {"[s]", "k="}, "s", "k", "dflt", ""},
        {"line without = gives the default", {"[s]", "k"}, "s", "k", "dflt", "dflt"},
        {"first duplicate section only", {"[s]", "a=1", "[S]", "a=2", "b=3"}, "s", "b", "dflt", "dflt"},
        {"first duplicate section wins", {"[s]", "a=1", "[S]", "a=2"}, "s", "a", "-", "1"},
        {"first duplicate key wins", {"[s]", "a=1", "A=2"}, "s", "a", "-", "1"},
        {"no inline comments", {"[s]", "a=1 ;x"}, "s", "a", "-", "1 ;x"},
        {"hash is no comment", {"[s]", "#k=v"}, "s", "#k", "-", "v"},
        {"text after ] ignored", {"[s] ; note", "k=v"}, "s", "k", "-", "v"},
        {"name runs to the last ]", {"[s] ; see [x]", "k=v"}, "s] ; see [x", "k", "-", "v"},
        {"[ without ] is an entry", {"[s]", "[a=b"}, "s", "[a", "-", "b"},
        {"[ without ] keeps the section", {"[s]", "[t", "k=v"}, "s", "k", "-", "v"},
        {"lines before any header are unreachable", {"k=pre", "[s]"}, "", "k", "dflt", "dflt"},
        {"[] is the empty name", {"k=pre", "[]", "k=named"}, "", "k", "-", "named"},
        {"empty key name", {"[s]", "=val_no_key"}, "s", "", "-", "val_no_key"},
        {"blank lines between", {"[s]", "", " \t ", "k=v"}, "s", "k", "-", "v"},
        {"quotes stripped", {"[s]", "k=\"val2\""}, "s", "k", "-", "val2"},
        {"single quotes stripped", {"[s]", "k='x'"}, "s", "k", "-", "x"},
        {"empty quotes", {"[s]", "k=\"\""}, "s", "k", "-", ""},
        {"only the outer pair", {"[s]", "k=\"a\"b\""}, "s", "k", "-", "a\"b"},
        {"lone quote kept", {"[s]", "k=\""}, "s", "k", "-", "\""},
        {"unclosed quote kept", {"[s]", "k=\"x"}, "s", "k", "-", "\"x"},
        {"mixed quotes kept", {"[s]", "k='x\""}, "s", "k", "-", "'x\""},
        {"quote then comment kept", {"[s]", "k=\"x\" ;c"}, "s", "k", "-", "\"x\" ;c"},
        {"blanks inside quotes kept", {"[s]", "k=  \"  p  \"  "}, "s", "k", "-", "  p  "},
        {"default unquoted", {"[s]"}, "s", "k", "\"d\"", "d"},
        {"default loses trailing blanks", {"[s]"}, "s", "k", "one two  ", "one two"},
        {"default keeps a trailing tab", {"[s]"}, "s", "k", "x\t", "x\t"},
        {"default cut to the buffer", {"[s]"}, "s", "k", longDefault, longDefault.substr(0, 2047)},
        {"no-break space is text", {"[s]", "k=\xA0v\xA0"}, "s", "k", "-", "\xA0v\xA0"},
        {"DOS end-of-file mark is blank", {"[s]", "k=v\x1A"}, "s", "k", "-", "v"},
        {"NUL ends a value", {"[s]", "k=ab\0cd"s}, "s", "k", "-", "ab"},
        {"NUL ends an argument", {"[s]", "k=v"}, "s\0x"s, "k\0y"s, "-", "v"},
    };
    TTempDir dir;
    int file = 0;
    for (const std::string lineEnd : {"\r\n", "\n", "\r", "\n\r"})
        for (bool lastEnded : {true, false})
            for (const auto& c : cases) {
                const std::string path = dir / ("case" + std::to_string(++file) + ".ini");
                wh::test::WriteFile(path, JoinLines(c.Lines, lineEnd, lastEnded));
                EXPECT_EQ(TIniFile(path).ReadString(c.Section, c.Key, c.Default), c.Expected)
                    << c.Name << " / line end " << testing::PrintToString(lineEnd) << " / last ended " << lastEnded;
            }
}

TEST(IniFileRead, ValuesAreCutToTheBuffer) {
    TTempDir dir;
    const std::string long3000(3000, 'v');
    const std::string quoted = "\"" + std::string(2047, 'q') + "\"";
    wh::test::WriteFile(dir / "a.ini", "[s]\r\nlong=" + long3000 + "\r\nquoted=" + quoted + "\r\n");
    TIniFile ini(dir / "a.ini");
    EXPECT_EQ(ini.ReadString("s", "long", ""), long3000.substr(0, 2047));
    EXPECT_EQ(ini.ReadString("s", "quoted", ""), std::string(2047, 'q'));
}

TEST(IniFileRead, MixedAndRepeatedLineEndsAllSplitLines) {
    TTempDir dir;
    wh::test::WriteFile(dir / "a.ini", "[s]\r\n\r\n\n\ra=1\rb=2\n\rc=3\n\n[t]\rd=4");
    TIniFile ini(dir / "a.ini");
    EXPECT_EQ(ini.ReadSection("s"), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(ini.ReadString("t", "d", ""), "4");
}

TEST(IniFileRead, MissingAndEmptyFilesReadAsNothing) {
    TTempDir dir;
    wh::test::WriteFile(dir / "empty.ini", "");
    std::filesystem::create_directory(dir.Path() / "folder.ini");
    for (const char* name : {"missing.ini", "empty.ini", "folder.ini"}) {
        TIniFile ini(dir / name);
        EXPECT_EQ(ini.ReadString("s", "k", "dflt"), "dflt") << name;
        EXPECT_EQ(ini.ReadInteger("s", "k", -1), -1) << name;
        EXPECT_TRUE(ini.ReadSection("s").empty()) << name;
        EXPECT_FALSE(ini.SectionExists("s")) << name;
    }
}

TEST(IniFileRead, ReadIntegerTakesDecimalOrHexadecimal) {
    struct TCase {
        std::optional<std::string> Value; // nothing: no such key
        std::int32_t Expected;
    };
    const std::int32_t d = -77; // the default
    const std::vector<TCase> cases = {
        {"0x10", 16},
        {"0X1f", 31},
        {"0xFFFFFFFF", -1},
        {"0x80000000", INT_MIN},
        {"0x7FFFFFFF", INT_MAX},
        {"0x000000010", 16},
        {"0x100000000", d},
        {"0x", d},
        {"0xG1", d},
        {"0x-1", d},
        {"0x1 ", 1},
        {"12", 12},
        {"-12", -12},
        {"+7", 7},
        {"00012", 12},
        {"2147483647", INT_MAX},
        {"2147483648", d},
        {"-2147483648", INT_MIN},
        {"-2147483649", d},
        {"4294967297", d},
        {"12abc", d},
        {"abc", d},
        {"", d},
        {"-", d},
        {"1 2", d},
        {"\"42\"", 42},
        {"  5  ", 5},
        {std::nullopt, d},
    };
    TTempDir dir;
    std::string text = "[s]\r\n";
    for (std::size_t i = 0; i < cases.size(); ++i)
        if (cases[i].Value)
            text += "k" + std::to_string(i) + "=" + *cases[i].Value + "\r\n";
    wh::test::WriteFile(dir / "n.ini", text);
    TIniFile ini(dir / "n.ini");
    for (std::size_t i = 0; i < cases.size(); ++i)
        EXPECT_EQ(ini.ReadInteger("s", "k" + std::to_string(i), d), cases[i].Expected)
            << testing::PrintToString(cases[i].Value);
}

TEST(IniFileRead, ReadBoolIsReadIntegerNotZero) {
    struct TCase {
        const char* Line;
        bool Default, Expected;
    };
    const std::vector<TCase> cases = {
        {"k=1", false, true}, {"k=0", true, false},  {"k=yes", false, false}, {"k=yes", true, true},
        {"k=2", false, true}, {"k=-1", false, true}, {"k=0x0", true, false},  {"k=", true, true},
        {"x=0", true, true},  {"x=0", false, false},
    };
    TTempDir dir;
    for (const auto& c : cases) {
        wh::test::WriteFile(dir / "b.ini", "[s]\n"s + c.Line + "\n");
        EXPECT_EQ(TIniFile(dir / "b.ini").ReadBool("s", "k", c.Default), c.Expected) << c.Line << " " << c.Default;
    }
}

TEST(IniFileRead, ReadSectionListsKeysInFileOrder) {
    struct TCase {
        const char* Name;
        std::vector<std::string> Lines;
        std::string Section;
        std::vector<std::string> Expected;
    };
    const std::vector<TCase> cases = {
        {"order and duplicates", {"[s]", "b=1", "a=2", "b=3"}, "s", {"b", "a", "b"}},
        {"comments and bare lines skipped", {"[s]", ";c=1", "; note", "bare", "k="}, "s", {"k"}},
        {"first same-named section", {"[s]", "a=1", "[t]", "x=1", "[S]", "b=2"}, "S", {"a"}},
        {"section argument not trimmed", {"[s]", "a=1"}, " s", {}},
        {"empty name ends the list", {"[s]", "a=1", "=x", "b=2"}, "s", {"a"}},
        {"trailing NUL line skipped", {"[s]", "a=1", "\0"s}, "s", {"a"}},
        {"missing section", {"[s]", "a=1"}, "t", {}},
        {"Windows-1252 letter case", {"[\xC9T\xC9]", "a=1"}, "\xE9t\xE9", {"a"}},
    };
    TTempDir dir;
    for (const auto& c : cases) {
        wh::test::WriteFile(dir / "l.ini", JoinLines(c.Lines, "\r\n"));
        TIniFile ini(dir / "l.ini");
        EXPECT_EQ(ini.ReadSection(c.Section), c.Expected) << c.Name;
        EXPECT_EQ(ini.SectionExists(c.Section), !c.Expected.empty()) << c.Name;
    }
}

TEST(IniFileRead, ReadSectionKeepsToItsBuffer) {
    // Names of 8 characters take 9 bytes of the 16384 with their NUL; the list
    // ends with one more NUL, and a name that does not fit is cut to leave
    // room for two.
    struct TCase {
        std::size_t TailLength; // one more name after 1820 full ones
        std::size_t ExpectedTailLength;
    };
    const std::vector<TCase> cases = {{2, 2}, {3, 2}, {10, 2}, {1, 1}};
    TTempDir dir;
    for (const auto& c : cases) {
        std::string text = "[s]\n";
        for (int i = 0; i < 1820; ++i)
            text += "k" + std::string(7 - std::to_string(i).size(), '0') + std::to_string(i) + "=\n";
        text += std::string(c.TailLength, 't') + "=\nafter=1\n";
        wh::test::WriteFile(dir / "big.ini", text);
        const auto names = TIniFile(dir / "big.ini").ReadSection("s");
        ASSERT_EQ(names.size(), 1821u) << c.TailLength;
        EXPECT_EQ(names[1819], "k0001819");
        EXPECT_EQ(names.back(), std::string(c.ExpectedTailLength, 't')) << c.TailLength;
    }
}

TEST(IniFileRead, EveryKeyOfManySectionsReadsBack) {
    TTempDir dir;
    std::string text;
    for (int s = 0; s < 300; ++s) {
        text += "[fltsim." + std::to_string(s) + "]\n";
        for (int k = 0; k < 5; ++k)
            text += "key" + std::to_string(k) + "=" + std::to_string(s * 10 + k) + "\n";
    }
    wh::test::WriteFile(dir / "m.ini", text);
    for (int s = 0; s < 300; ++s) {
        TIniFile ini(dir / "m.ini");
        for (int k = 0; k < 5; ++k)
            ASSERT_EQ(ini.ReadInteger("FLTSIM." + std::to_string(s), "KEY" + std::to_string(k), -1), s * 10 + k);
    }
    EXPECT_FALSE(TIniFile(dir / "m.ini").SectionExists("fltsim.300"));
}

} // namespace
