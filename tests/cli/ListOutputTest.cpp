#include "cli/ListOutput.h"

#include <gtest/gtest.h>

namespace wh {
namespace {

TEST(ListOutputTest, JsonStringsEscapeWhatJsonMustAndConvertTheRest) {
    const std::pair<std::string, std::string> cases[] = {
        {"Bluefen Airlines", "\"Bluefen Airlines\""},
        {"say \"hi\" \\ bye", "\"say \\\"hi\\\" \\\\ bye\""},
        {"tab\there\nline", "\"tab\\u0009here\\u000Aline\""},
        {"\x1B[2J", "\"\\u001B[2J\""},                                      // no escape sequence reaches a terminal
        {"\x81\x9D", "\"\\u0081\\u009D\""},                                 // undefined bytes: C1 controls, escaped
        {"A\xE9ro \x80 \x99", "\"A\xC3\xA9ro \xE2\x82\xAC \xE2\x84\xA2\""}, // Windows-1252 to UTF-8
        {"", "\"\""},
    };
    for (const auto& [ansi, json] : cases)
        EXPECT_EQ(JsonString(ansi), json) << ansi;
}

TEST(ListOutputTest, ListLinesKeepOneFieldPerColumn) {
    EXPECT_EQ(ListLine({"A\tB", "E190", "new", "no", "", "M\x1B", "9KB", "tex"}),
              "A B\tE190\tnew\tno\t\tM \t9KB\ttex\n");
}

} // namespace
} // namespace wh
