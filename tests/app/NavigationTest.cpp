#include "app/Navigation.h"

#include <gtest/gtest.h>

namespace wh {
namespace {

TEST(NavigationTest, BackAndNextFollowThePageTable) {
    struct TCase {
        TWizardPage Page;
        bool WelcomeValid;
        TNavigationState Expected;
    };
    const TCase cases[] = {
        {TWizardPage::Welcome, false, {false, false}},
        {TWizardPage::Welcome, true, {false, true}},
        {TWizardPage::Action, true, {true, false}},
    };
    for (const auto& c : cases) {
        const TNavigationState state = NavigationFor(c.Page, c.WelcomeValid);
        EXPECT_EQ(state, c.Expected) << static_cast<int>(c.Page) << " valid " << c.WelcomeValid;
    }
}

TEST(NavigationTest, PageTransitions) {
    struct TCase {
        TWizardPage From, AfterNext, AfterBack;
    };
    const TCase cases[] = {
        {TWizardPage::Welcome, TWizardPage::Selection, TWizardPage::Welcome},
        {TWizardPage::Selection, TWizardPage::Action, TWizardPage::Welcome},
        {TWizardPage::Action, TWizardPage::Action, TWizardPage::Selection},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PageAfterNext(c.From), c.AfterNext);
        EXPECT_EQ(PageAfterBack(c.From), c.AfterBack);
    }
}

} // namespace
} // namespace wh
