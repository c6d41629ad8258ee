#include "install/LiveryLines.h"

#include <gtest/gtest.h>

namespace {

struct TCase {
    const char* Name;
    wh::TCfgLines Catalogue;
    wh::TLiveryLines Lines;
};

TEST(LiveryLines, TheRulesLineAndTheCataloguesOwnWhenItDiffers) {
    const std::vector<TCase> cases = {
        {"written as the rule", {"[fltsim.4]", "TEXTURE=ABC", "texture = x"}, {"texture=abc"}},
        {"blanks as written",
         {"[fltsim.3]", "texture=x", "[fltsim.4]", "title=t", " Texture = abc"},
         {"texture=abc", " Texture = abc"}},
        {"first of the section's own",
         {"[fltsim.4]", "texture =abc", "[fltsim.5]", "texture = abc"},
         {"texture=abc", "texture =abc"}},
        {"another section's line is not the livery's",
         {"[fltsim.4]", "title=t", "[fltsim.5]", "texture = abc"},
         {"texture=abc"}},
        {"no such section", {"[fltsim.3]", "texture = abc"}, {"texture=abc"}},
    };
    wh::TWHAircraft aircraft;
    aircraft.Section = "fltsim.4";
    aircraft.Texture = "abc";
    for (const auto& c : cases)
        EXPECT_EQ(wh::LiveryLines(aircraft, c.Catalogue), c.Lines) << c.Name;
}

} // namespace
