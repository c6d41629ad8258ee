#include "app/LocaleCollator.h"

#include <QLocale>

#include "platform/Codepage.h"

namespace wh {

TLocaleCollator::TLocaleCollator() : FCollator(QLocale()) { FCollator.setCaseSensitivity(Qt::CaseInsensitive); }

int TLocaleCollator::Compare(const std::string& text1, const std::string& text2) const {
    AnsiToUtf16(text1, FText1);
    AnsiToUtf16(text2, FText2);
    const int result = FCollator.compare(QStringView(FText1.data(), static_cast<qsizetype>(FText1.size())),
                                         QStringView(FText2.data(), static_cast<qsizetype>(FText2.size())));
    return (result > 0) - (result < 0);
}

} // namespace wh
