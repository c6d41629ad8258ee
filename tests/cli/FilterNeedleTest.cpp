#include "cli/FilterNeedle.h"

#include <gtest/gtest.h>

namespace wh {
namespace {

TEST(FilterNeedleTest, TakesTheTextAsTheWindowsFilterFieldDoes) {
    const std::pair<std::string, std::optional<std::string>> cases[] = {
        {"AERO", "aero"},
        {"A\xC3\xA9ro", "aero"}, // é folds
        {"Stra\xC3\x9F"
         "e",
         "strasse"},                    // ß spelt out
        {"\xC5\x91z", "oz"},            // ő is no Windows-1252 letter; its base letter is
        {"\xE2\x9C\x93", std::nullopt}, // ✓ has no form at all: no row holds it
        {"?", "?"},
        {"", ""},
    };
    for (const auto& [typed, needle] : cases)
        EXPECT_EQ(FilterNeedle(typed), needle) << typed;
}

} // namespace
} // namespace wh
