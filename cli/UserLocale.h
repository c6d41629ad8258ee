#pragma once

#include <memory>
#include <string>

#include "catalogue/SortOrder.h"

struct UCollator;

namespace wh {

// The user's locale as the environment names it (LC_ALL, else the
// category's own variable, else LANG), the way the window's toolkit takes it.

// The list's comparison under that locale, letter case ignored. The C and
// POSIX locales compare code points, letter case folded, as the toolkit does.
class TUserCollator final : public TWHCollator {
public:
    TUserCollator();
    int Compare(const std::string& text1, const std::string& text2) const override;

private:
    struct TClose {
        void operator()(UCollator* collator) const;
    };
    std::unique_ptr<UCollator, TClose> FCollator; // none for C and POSIX
};

// The Size column's thousands separator and the progress's decimal point,
// Windows-1252.
std::string UserThousandsSeparator();
std::string UserDecimalPoint();

} // namespace wh
