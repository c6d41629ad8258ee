#include <gtest/gtest.h>

#include "install/CfgLines.h"
#include "tests/support/NamedCases.h"

using namespace std::string_literals;
using wh::TCfgLines;

namespace {

using wh::test::PrintTo;

struct TSplitCase {
    const char* Name;
    std::string Text;
    TCfgLines Lines;
};

class SplitLines : public testing::TestWithParam<TSplitCase> {};

TEST_P(SplitLines, EndsEveryLineWithCrLfWhenJoined) {
    const auto& c = GetParam();
    EXPECT_EQ(wh::SplitLines(c.Text), c.Lines);
    std::string joined;
    for (const auto& line : c.Lines)
        joined += line + "\r\n";
    EXPECT_EQ(wh::JoinLines(wh::SplitLines(c.Text)), joined);
}

INSTANTIATE_TEST_SUITE_P(
    Cfg, SplitLines,
    testing::Values(TSplitCase{"empty", "", {}}, TSplitCase{"one unended", "a", {"a"}},
                    TSplitCase{"crlf", "a\r\nb\r\n", {"a", "b"}}, TSplitCase{"cr", "a\rb\r", {"a", "b"}},
                    TSplitCase{"lf", "a\nb", {"a", "b"}}, TSplitCase{"lf cr is two ends", "a\n\rb", {"a", "", "b"}},
                    TSplitCase{"blank lines", "\r\n\n\r", {"", "", ""}},
                    TSplitCase{"spacing, tabs, nul and accents kept",
                               " k = v \t\r\n\xE9t\xE9\0;x\n"s,
                               {" k = v \t", "\xE9t\xE9\0;x"s}}),
    [](const auto& info) { return std::to_string(info.index); });

struct THeaderCase {
    const char* Name;
    std::string Line;
    bool IsHeader;
    std::string Inner;
    bool IsFltsim3;
};

TEST(CfgHeaders, MatchTheTrimmedLowerCasedLine) {
    const std::vector<THeaderCase> cases = {
        {"plain", "[fltsim.3]", true, "fltsim.3", true},
        {"indented, other case", " \t[FltSim.3]\x01", true, "FltSim.3", true},
        {"inner blanks", "[ fltsim.3 ]", true, " fltsim.3 ", false},
        {"comment after", "[fltsim.3] ; x", true, "fltsim.3] ; ", false},
        {"no closing bracket", "[fltsim.3", true, "fltsim.", false},
        {"lone bracket", "[", true, "", false},
        {"blank", "  ", false, "", false},
        {"key", "texture=[a]", false, "", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(wh::IsSectionHeader(c.Line), c.IsHeader) << c.Name;
        EXPECT_EQ(wh::IsHeaderOf(c.Line, "FLTSIM.3"), c.IsFltsim3) << c.Name;
        if (c.IsHeader) {
            EXPECT_EQ(wh::HeaderName(c.Line), c.Inner) << c.Name;
        }
    }
}

TEST(CfgHeaders, FoldWindows1252Letters) {
    EXPECT_TRUE(wh::IsHeaderOf("[\xC9T\xC9]", "\xE9t\xE9"));
    EXPECT_FALSE(wh::IsHeaderOf("[\xC9T\xC9]", "ete"));
}

} // namespace
