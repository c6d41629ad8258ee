#pragma once

namespace wh {

// The wizard's pages, by their index in nbPages.
enum class TWizardPage { Welcome = 0, Selection = 1, Action = 2 };

struct TNavigationState {
    bool BackEnabled = false;
    bool NextEnabled = false;
    bool operator==(const TNavigationState&) const = default;
};

// Back and Next for the page shown; welcomeValid matters on the Welcome page only.
TNavigationState NavigationFor(TWizardPage page, bool welcomeValid);

// The page that Next (after a successful load on Welcome) and Back lead to.
TWizardPage PageAfterNext(TWizardPage page);
TWizardPage PageAfterBack(TWizardPage page);

} // namespace wh
