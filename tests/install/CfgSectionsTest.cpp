#include <gtest/gtest.h>

#include "install/CfgSections.h"

using wh::TCfgLines;

namespace {

const TCfgLines Catalogue = {"[fltsim.3]", "texture=old", "[fltsim.4]", "texture=abc", "ui_type=X",
                             "",           "[fltsim.5]",  "texture=def"};

struct TAppendCase {
    const char* Name;
    TCfgLines Source;
    std::string Section;
    TCfgLines Added;
};

TEST(CfgSections, AppendCopiesEveryOccurrenceBehindAnEmptyLine) {
    const std::vector<TAppendCase> cases = {
        {"keys and the blank line up to the next header",
         Catalogue,
         "fltsim.4",
         {"", "[fltsim.4]", "texture=abc", "ui_type=X", ""}},
        {"last section to the end, header kept as written",
         {"; c", "  [FLTSIM.1] ", "a=1", "; note"},
         "fltsim.1",
         {"", "  [FLTSIM.1] ", "a=1", "; note"}},
        {"twice in the source", {"[s]", "a=1", "[t]", "b=2", "[S]", "c=3"}, "s", {"", "[s]", "a=1", "", "[S]", "c=3"}},
        {"missing from the source", Catalogue, "fltsim.9", {}},
    };
    for (const auto& c : cases) {
        const TCfgLines before = {"[fltsim.0]", "texture=a", "", "[fltsim.1]", "texture=b"};
        TCfgLines cfg = before;
        wh::AppendSectionLines(c.Source, cfg, c.Section);
        TCfgLines expected = before;
        expected.insert(expected.end(), c.Added.begin(), c.Added.end());
        EXPECT_EQ(cfg, expected) << c.Name;
    }
}

struct TFindCase {
    const char* Name;
    TCfgLines Cfg;
    std::string Found;
};

TEST(CfgSections, FindTakesTheHeaderAboveTheFirstWholeLineMatch) {
    const std::vector<TFindCase> cases = {
        {"letter case ignored", {"[fltsim.0]", "texture=x", "[fltsim.2]", "TEXTURE=ABC"}, "fltsim.2"},
        {"blanks around the equals sign", {"[fltsim.0]", "texture = abc"}, ""},
        {"blank before the key", {"[fltsim.0]", " texture=abc"}, ""},
        {"blank after the value", {"[fltsim.0]", "texture=abc "}, ""},
        {"above every header", {"texture=abc", "[fltsim.0]", "texture=abc"}, ""},
        {"first of two wins", {"[fltsim.1]", "texture=abc", "[fltsim.0]", "texture=abc"}, "fltsim.1"},
        {"whatever header is nearest", {"[fltsim.0]", "texture=x", "[ x ] ;c", "texture=abc"}, " x ] ;"},
        {"name between first and last character", {"  [ fltsim.2 ];", "texture=abc"}, " fltsim.2 ]"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(wh::FindLiverySection(c.Cfg, "texture", "abc"), c.Found) << c.Name;
}

struct TRenumberCase {
    const char* Name;
    TCfgLines Before, After;
};

TEST(CfgSections, RenumberRewritesPrefixedHeadersInFileOrder) {
    const std::vector<TRenumberCase> cases = {
        {"appended section follows",
         {"[fltsim.0]", "[fltsim.1]", "", "[fltsim.4]"},
         {"[fltsim.0]", "[fltsim.1]", "", "[fltsim.2]"}},
        {"file order, not old numbers",
         {"[fltsim.0]", "a=1", "[fltsim.3]", "[fltsim.1]"},
         {"[fltsim.0]", "a=1", "[fltsim.1]", "[fltsim.2]"}},
        {"indent and comment dropped",
         {"[general]", "\t [FltSim.7] ; mine", "[fltsimulator]"},
         {"[general]", "[fltsim.0]", "[fltsimulator]"}},
        {"any suffix",
         {"[FLTSIM.x]", "[fltsim.]", "[fltsim", "[ fltsim.1]"},
         {"[fltsim.0]", "[fltsim.1]", "[fltsim", "[ fltsim.1]"}},
        {"no such header", {" a = 1 ", "[general]", ""}, {" a = 1 ", "[general]", ""}},
    };
    for (const auto& c : cases) {
        TCfgLines cfg = c.Before;
        wh::RenumberSectionLines(cfg, "fltsim.");
        EXPECT_EQ(cfg, c.After) << c.Name;
    }
}

struct TReplaceCase {
    const char* Name;
    TCfgLines Before;
    bool Replaced;
    TCfgLines After;
};

TEST(CfgSections, ReplaceKeepsThePlaceHeaderAndSpacing) {
    const std::vector<TReplaceCase> cases = {
        {"middle section",
         {"[fltsim.0]", "texture=a", "", "[fltsim.1]", "TEXTURE=ABC", "old=1", "", "", "[fltsim.2]"},
         true,
         {"[fltsim.0]", "texture=a", "", "[fltsim.1]", "texture=abc", "ui_type=X", "", "", "[fltsim.2]"}},
        {"last section",
         {"[general]", " [FltSim.7] ;c", "texture=abc"},
         true,
         {"[general]", " [FltSim.7] ;c", "texture=abc", "ui_type=X"}},
        {"first of two",
         {"[fltsim.0]", "texture=abc", "[fltsim.1]", "texture=abc"},
         true,
         {"[fltsim.0]", "texture=abc", "ui_type=X", "[fltsim.1]", "texture=abc"}},
        {"no such line", {"[fltsim.0]", "texture = abc"}, false, {"[fltsim.0]", "texture = abc"}},
        {"line above every header", {"texture=abc", "[fltsim.0]"}, false, {"texture=abc", "[fltsim.0]"}},
        {"only in a section that is no livery's",
         {"[General]", "texture=abc", "a=1"},
         false,
         {"[General]", "texture=abc", "a=1"}},
        {"the livery section after another holding the line",
         {"[General]", "texture=abc", "[FLTSIM.2]", "texture=abc"},
         true,
         {"[General]", "texture=abc", "[FLTSIM.2]", "texture=abc", "ui_type=X"}},
    };
    for (const auto& c : cases) {
        TCfgLines cfg = c.Before;
        EXPECT_EQ(wh::ReplaceLiverySectionLines(Catalogue, cfg, "fltsim.4", {"texture=abc"}), c.Replaced) << c.Name;
        EXPECT_EQ(cfg, c.After) << c.Name;
    }
    TCfgLines cfg = {"[fltsim.0]", "texture=abc", "mine=1"};
    EXPECT_TRUE(wh::ReplaceLiverySectionLines(Catalogue, cfg, "fltsim.9", {"texture=abc"}));
    EXPECT_EQ(cfg, (TCfgLines{"[fltsim.0]", "texture=abc", "mine=1"})) << "a source without the section";
}

} // namespace
