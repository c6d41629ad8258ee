#include "platform/NameCase.h"

#include <clocale>
#include <cwctype>

#include "platform/Codepage.h"

namespace wh {

namespace {

// The C library's Unicode case table; the program's own locale may be "C".
locale_t Utf8Locale() {
    static const locale_t locale = ::newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(0));
    return locale;
}

} // namespace

std::string FoldNameCase(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const auto byte = static_cast<unsigned char>(utf8[i]);
        if (byte < 0x80) {
            out += static_cast<char>(byte >= 'A' && byte <= 'Z' ? byte + 32 : byte);
            ++i;
            continue;
        }
        char32_t cp = 0;
        const std::size_t len = DecodeUtf8(utf8, i, cp);
        if (len == 0) {
            out += utf8[i++];
            continue;
        }
        const locale_t locale = Utf8Locale();
        const auto lower = locale ? ::towlower_l(static_cast<wint_t>(cp), locale) : static_cast<wint_t>(cp);
        AppendUtf8(out, static_cast<char32_t>(lower));
        i += len;
    }
    return out;
}

} // namespace wh
