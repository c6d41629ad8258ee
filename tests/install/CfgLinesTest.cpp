#include <gtest/gtest.h>

#include "install/CfgLines.h"

using namespace std::string_literals;
using wh::TCfgLines;

namespace {

struct TSplitCase {
    const char* Name;
    std::string Text;
    TCfgLines Lines;
};

TEST(CfgLines, AnyLineEndSplitsAndEveryLineIsWrittenWithCrLf) {
    const std::vector<TSplitCase> cases = {
        {"empty", "", {}},
        {"one unended", "a", {"a"}},
        {"crlf", "a\r\nb\r\n", {"a", "b"}},
        {"cr", "a\rb\r", {"a", "b"}},
        {"lf", "a\nb", {"a", "b"}},
        {"lf cr is two ends", "a\n\rb", {"a", "", "b"}},
        {"blank lines", "\r\n\n\r", {"", "", ""}},
        {"spacing, tabs, nul and accents kept", " k = v \t\r\n\xE9t\xE9\0;x\n"s, {" k = v \t", "\xE9t\xE9\0;x"s}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(wh::SplitLines(c.Text), c.Lines) << c.Name;
        std::string joined;
        for (const auto& line : c.Lines)
            joined += line + "\r\n";
        EXPECT_EQ(wh::JoinLines(c.Lines), joined) << c.Name;
    }
}

struct THeaderCase {
    const char* Name;
    std::string Line;
    bool IsHeader;
    std::string Inner; // the header's name
    std::string Section;
    bool IsHeaderOfSection;
};

TEST(CfgLines, HeadersMatchTheTrimmedLowerCasedLine) {
    const std::vector<THeaderCase> cases = {
        {"plain", "[fltsim.3]", true, "fltsim.3", "fltsim.3", true},
        {"indented, other case", " \t[FltSim.3]\x01", true, "FltSim.3", "FLTSIM.3", true},
        {"Windows-1252 letters", "[\xC9T\xC9]", true, "\xC9T\xC9", "\xE9t\xE9", true},
        {"inner blanks", "[ fltsim.3 ]", true, " fltsim.3 ", "fltsim.3", false},
        {"comment after", "[fltsim.3] ; x", true, "fltsim.3] ; ", "fltsim.3", false},
        {"no closing bracket", "[fltsim.3", true, "fltsim.", "fltsim.3", false},
        {"lone bracket", "[", true, "", "", false},
        {"blank", "  ", false, "", "", false},
        {"key", "texture=[a]", false, "", "a", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(wh::IsSectionHeader(c.Line), c.IsHeader) << c.Name;
        EXPECT_EQ(wh::IsHeaderOf(c.Line, c.Section), c.IsHeaderOfSection) << c.Name;
        if (c.IsHeader) {
            EXPECT_EQ(wh::HeaderName(c.Line), c.Inner) << c.Name;
        }
    }
}

} // namespace
