#include "app/Navigation.h"

namespace wh {

TNavigationState NavigationFor(TWizardPage page, bool welcomeValid) {
    if (page == TWizardPage::Welcome)
        return {false, welcomeValid};
    return {true, false};
}

TWizardPage PageAfterNext(TWizardPage page) {
    switch (page) {
    case TWizardPage::Welcome:
        return TWizardPage::Selection;
    case TWizardPage::Selection:
    case TWizardPage::Action:
        return TWizardPage::Action;
    }
    return page;
}

TWizardPage PageAfterBack(TWizardPage page) {
    switch (page) {
    case TWizardPage::Welcome:
    case TWizardPage::Selection:
        return TWizardPage::Welcome;
    case TWizardPage::Action:
        return TWizardPage::Selection;
    }
    return page;
}

} // namespace wh
