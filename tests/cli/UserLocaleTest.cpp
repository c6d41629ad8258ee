#include "cli/UserLocale.h"

#include <gtest/gtest.h>

#include "tests/support/ScopedEnvironment.h"

namespace wh {
namespace {

using test::TScopedEnvironment;

TEST(UserLocaleTest, ComparesAndSeparatesAsTheLocaleTheEnvironmentNames) {
    struct TCase {
        const char* Locale;
        std::string Text1, Text2;
        int Order;
        std::string Thousands, Decimal;
    };
    const TCase cases[] = {
        {"C.UTF-8", "bluefen", "BLUEFEN", 0, ",", "."},    // letter case ignored
        {"C.UTF-8", "A\xE9ro", "Amber", 1, ",", "."},      // code points: é after m
        {"de_DE.UTF-8", "A\xE9ro", "Amber", -1, ".", ","}, // the language's letters: é with e
        {"de_DE.UTF-8", "Aero", "A\xE9ro", -1, ".", ","},  // accents still count
        {"de_DE.UTF-8", "", "A", -1, ".", ","},            // an empty text first
        {"POSIX", "a", "B", -1, ",", "."},
    };
    for (const TCase& c : cases) {
        const TScopedEnvironment environment({{"LC_ALL", std::string(c.Locale)}});
        SCOPED_TRACE(std::string(c.Locale) + ": " + c.Text1 + " / " + c.Text2);
        const TUserCollator collator;
        EXPECT_EQ(collator.Compare(c.Text1, c.Text2), c.Order);
        EXPECT_EQ(collator.Compare(c.Text2, c.Text1), -c.Order);
        EXPECT_EQ(UserThousandsSeparator(), c.Thousands);
        EXPECT_EQ(UserDecimalPoint(), c.Decimal);
    }
}

} // namespace
} // namespace wh
