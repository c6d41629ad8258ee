#include "app/CommandLine.h"

#include <gtest/gtest.h>

#include "tests/support/NamedCases.h"

namespace wh {
namespace {

struct TCommandLineCase {
    const char* Name;
    std::vector<std::string> Arguments;
    bool IgnoreStatus;
    std::optional<std::string> Unknown;
};

using test::PrintTo;

class ParseCommandLineTest : public testing::TestWithParam<TCommandLineCase> {};

TEST_P(ParseCommandLineTest, AcceptsOnlyTheOptionInAnyLetterCase) {
    const auto& c = GetParam();
    const TCommandLine result = ParseCommandLine(c.Arguments);
    EXPECT_EQ(result.UnknownArgument, c.Unknown);
    if (!c.Unknown) {
        EXPECT_EQ(result.IgnoreStatus, c.IgnoreStatus);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, ParseCommandLineTest,
                         testing::Values(TCommandLineCase{"none", {}, false, std::nullopt},
                                         TCommandLineCase{"lower", {"/ignorestatus"}, true, std::nullopt},
                                         TCommandLineCase{"capitals", {"/IGNORESTATUS"}, true, std::nullopt},
                                         TCommandLineCase{"mixed", {"/IgnoreStatus"}, true, std::nullopt},
                                         TCommandLineCase{
                                             "twice", {"/ignorestatus", "/IGNORESTATUS"}, true, std::nullopt},
                                         TCommandLineCase{"minus", {"-ignorestatus"}, false, "-ignorestatus"},
                                         TCommandLineCase{"appended", {"/ignorestatusx"}, false, "/ignorestatusx"},
                                         TCommandLineCase{"blank inside", {"/ignore status"}, false, "/ignore status"},
                                         TCommandLineCase{"empty", {""}, false, ""},
                                         TCommandLineCase{"second unknown", {"/ignorestatus", "Extra"}, true, "Extra"},
                                         TCommandLineCase{"first unknown stops", {"One", "Two"}, false, "One"}),
                         [](const auto& info) {
                             std::string name = info.param.Name;
                             for (char& ch : name)
                                 if (!std::isalnum(static_cast<unsigned char>(ch)))
                                     ch = '_';
                             return name;
                         });

TEST(UnknownParameterMessageTest, QuotesTheArgumentAsGiven) {
    EXPECT_EQ(UnknownParameterMessage("-IgnoreStatus"), "Unknown Parameter '-IgnoreStatus'.");
    EXPECT_EQ(UnknownParameterMessage(""), "Unknown Parameter ''.");
}

} // namespace
} // namespace wh
