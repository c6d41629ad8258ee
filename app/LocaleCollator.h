#pragma once

#include <string>

#include <QCollator>

#include "catalogue/SortOrder.h"

namespace wh {

// The user's locale, letter case ignored, over the core's Windows-1252 texts.
class TLocaleCollator final : public TWHCollator {
public:
    TLocaleCollator();
    int Compare(const std::string& text1, const std::string& text2) const override;

private:
    QCollator FCollator;
};

} // namespace wh
