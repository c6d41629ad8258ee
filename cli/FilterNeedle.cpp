#include "cli/FilterNeedle.h"

#include <unicode/uchar.h>
#include <unicode/unorm2.h>
#include <unicode/utf16.h>

#include "catalogue/RowFilter.h"
#include "cli/Utf16Text.h"
#include "platform/Codepage.h"

namespace wh {

namespace {

std::u16string Decomposed(const std::u16string& text) {
    UErrorCode status = U_ZERO_ERROR;
    const UNormalizer2* nfd = unorm2_getNFDInstance(&status);
    if (U_FAILURE(status))
        return text;
    const auto size = static_cast<int32_t>(text.size());
    const int32_t length = unorm2_normalize(nfd, text.data(), size, nullptr, 0, &status);
    std::u16string out(static_cast<std::size_t>(length), u'\0');
    status = U_ZERO_ERROR;
    unorm2_normalize(nfd, text.data(), size, out.data(), length, &status);
    return U_SUCCESS(status) ? out : text;
}

bool IsMark(UChar32 cp) {
    const auto type = u_charType(cp);
    return type == U_NON_SPACING_MARK || type == U_COMBINING_SPACING_MARK || type == U_ENCLOSING_MARK;
}

} // namespace

std::optional<std::string> FilterNeedle(const std::string& utf8) {
    const std::u16string text = Decomposed(Utf16FromUtf8(utf8));
    std::string ansi;
    for (std::size_t i = 0; i < text.size();) {
        UChar32 cp;
        U16_NEXT(text.data(), i, text.size(), cp);
        if (IsMark(cp))
            continue;
        std::string one;
        AppendUtf8(one, static_cast<char32_t>(cp));
        const std::string byte = Utf8ToAnsi(one);
        if (byte == "?" && cp != '?')
            return std::nullopt;
        ansi += byte;
    }
    return FoldFilterText(ansi);
}

} // namespace wh
