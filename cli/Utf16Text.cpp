#include "cli/Utf16Text.h"

#include <unicode/ustring.h>

namespace wh {

std::u16string Utf16FromUtf8(std::string_view utf8) {
    UErrorCode status = U_ZERO_ERROR;
    int32_t length = 0;
    const auto size = static_cast<int32_t>(utf8.size());
    u_strFromUTF8WithSub(nullptr, 0, &length, utf8.data(), size, 0xFFFD, nullptr, &status);
    std::u16string text(static_cast<std::size_t>(length), u'\0');
    status = U_ZERO_ERROR;
    u_strFromUTF8WithSub(text.data(), length, nullptr, utf8.data(), size, 0xFFFD, nullptr, &status);
    return U_SUCCESS(status) ? text : std::u16string();
}

std::string Utf8FromUtf16(std::u16string_view utf16) {
    UErrorCode status = U_ZERO_ERROR;
    int32_t length = 0;
    const auto size = static_cast<int32_t>(utf16.size());
    u_strToUTF8(nullptr, 0, &length, utf16.data(), size, &status);
    std::string text(static_cast<std::size_t>(length), '\0');
    status = U_ZERO_ERROR;
    u_strToUTF8(text.data(), length, nullptr, utf16.data(), size, &status);
    return U_SUCCESS(status) ? text : std::string();
}

} // namespace wh
