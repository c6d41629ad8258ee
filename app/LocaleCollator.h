#pragma once

#include <string>

#include <QCollator>

#include "catalogue/SortOrder.h"

namespace wh {

// The user's locale, letter case ignored, over the core's Windows-1252 texts.
// For the window's thread only: the texts are decoded into buffers it keeps,
// as a sort of 10,000 rows compares some 130,000 pairs.
class TLocaleCollator final : public TWHCollator {
public:
    TLocaleCollator();
    int Compare(const std::string& text1, const std::string& text2) const override;

private:
    QCollator FCollator;
    mutable std::u16string FText1, FText2;
};

} // namespace wh
