#include "cli/UserLocale.h"

#include <unicode/ucol.h>
#include <unicode/unum.h>
#include <unicode/ustring.h>

#include <cstdlib>

#include "cli/Utf16Text.h"
#include "platform/Codepage.h"

namespace wh {

namespace {

// "de_DE.UTF-8@euro" names the locale de_DE; "C.UTF-8" is the C locale.
std::string LocaleName(const char* category) {
    for (const char* variable : {"LC_ALL", category, "LANG"}) {
        const char* value = std::getenv(variable);
        if (value != nullptr && *value != '\0') {
            const std::string name(value);
            return name.substr(0, name.find_first_of(".@"));
        }
    }
    return "C";
}

bool IsCLocale(const std::string& name) { return name.empty() || name == "C" || name == "POSIX"; }

std::u16string Utf16(const std::string& ansi) { return Utf16FromUtf8(AnsiToUtf8(ansi)); }

std::string NumberSymbol(UNumberFormatSymbol symbol, const char* fallback) {
    const std::string name = LocaleName("LC_NUMERIC");
    UErrorCode status = U_ZERO_ERROR;
    // en_US_POSIX has the C locale's separators.
    UNumberFormat* format =
        unum_open(UNUM_DECIMAL, nullptr, 0, IsCLocale(name) ? "en_US_POSIX" : name.c_str(), nullptr, &status);
    std::u16string text(16, u'\0');
    int32_t length = 0;
    if (U_SUCCESS(status))
        length = unum_getSymbol(format, symbol, text.data(), static_cast<int32_t>(text.size()), &status);
    unum_close(format);
    if (U_FAILURE(status) || length <= 0 || length > static_cast<int32_t>(text.size()))
        return fallback;
    text.resize(static_cast<std::size_t>(length));
    return Utf8ToAnsi(Utf8FromUtf16(text));
}

} // namespace

void TUserCollator::TClose::operator()(UCollator* collator) const { ucol_close(collator); }

TUserCollator::TUserCollator() {
    const std::string name = LocaleName("LC_COLLATE");
    if (IsCLocale(name))
        return;
    UErrorCode status = U_ZERO_ERROR;
    FCollator.reset(ucol_open(name.c_str(), &status));
    if (U_FAILURE(status)) {
        FCollator.reset();
        return;
    }
    // Accents count, letter case does not.
    ucol_setAttribute(FCollator.get(), UCOL_NORMALIZATION_MODE, UCOL_ON, &status);
    ucol_setAttribute(FCollator.get(), UCOL_STRENGTH, UCOL_SECONDARY, &status);
}

int TUserCollator::Compare(const std::string& text1, const std::string& text2) const {
    // An empty text sorts first, as the toolkit's collator has it.
    if (text1.empty())
        return text2.empty() ? 0 : -1;
    if (text2.empty())
        return 1;
    const std::u16string s1 = Utf16(text1), s2 = Utf16(text2);
    const auto n1 = static_cast<int32_t>(s1.size()), n2 = static_cast<int32_t>(s2.size());
    int result;
    if (FCollator) {
        result = ucol_strcoll(FCollator.get(), s1.data(), n1, s2.data(), n2);
    } else {
        UErrorCode status = U_ZERO_ERROR;
        result = u_strCaseCompare(s1.data(), n1, s2.data(), n2, U_FOLD_CASE_DEFAULT, &status);
    }
    return (result > 0) - (result < 0);
}

std::string UserThousandsSeparator() { return NumberSymbol(UNUM_GROUPING_SEPARATOR_SYMBOL, ","); }

std::string UserDecimalPoint() { return NumberSymbol(UNUM_DECIMAL_SEPARATOR_SYMBOL, "."); }

} // namespace wh
