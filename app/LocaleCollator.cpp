#include "app/LocaleCollator.h"

#include <algorithm>

#include <QLocale>

#include "platform/Codepage.h"

namespace wh {

namespace {

// Windows-1252 differs from Latin-1 only in 0x80-0x9F; most texts take the
// fast Latin-1 decoding, which matters in a sort of 10,000 rows.
QString Decode(const std::string& ansi) {
    const bool latin1 = std::none_of(ansi.begin(), ansi.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte >= 0x80 && byte <= 0x9F;
    });
    if (latin1)
        return QString::fromLatin1(ansi.data(), static_cast<qsizetype>(ansi.size()));
    return QString::fromStdString(AnsiToUtf8(ansi));
}

} // namespace

TLocaleCollator::TLocaleCollator() : FCollator(QLocale()) { FCollator.setCaseSensitivity(Qt::CaseInsensitive); }

int TLocaleCollator::Compare(const std::string& text1, const std::string& text2) const {
    const int result = FCollator.compare(Decode(text1), Decode(text2));
    return (result > 0) - (result < 0);
}

} // namespace wh
