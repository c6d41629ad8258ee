#pragma once

#include <string>
#include <string_view>

namespace wh {

// UTF-8 to and from the UTF-16 that the locale library works on. Malformed
// input yields what converts before it.
std::u16string Utf16FromUtf8(std::string_view utf8);
std::string Utf8FromUtf16(std::u16string_view utf16);

} // namespace wh
