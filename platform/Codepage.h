#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace wh {

// The program keeps text 8-bit in Windows-1252, as the collection's files are.
// These convert at the edges: widget texts and file-system names.

// Windows-1252 to UTF-8. The five bytes that code page leaves undefined
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1 controls of the same value.
std::string AnsiToUtf8(std::string_view ansi);

// Windows-1252 to UTF-16 into out, replacing what it held: every byte is one
// unit, as the code page lies within the Basic Multilingual Plane.
void AnsiToUtf16(std::string_view ansi, std::u16string& out);

// UTF-8 to Windows-1252. A character the code page lacks becomes '?';
// malformed UTF-8 bytes are taken as Windows-1252 bytes.
std::string Utf8ToAnsi(std::string_view utf8);

// One code point appended as UTF-8.
void AppendUtf8(std::string& out, char32_t cp);
// Decodes the UTF-8 sequence at text[i]; its length, or 0 when it is
// malformed (overlong, surrogate, truncated or beyond U+10FFFF).
std::size_t DecodeUtf8(std::string_view text, std::size_t i, char32_t& cp);

// Letter case folded in Windows-1252 (ASCII and the accented letters).
char AnsiLowerChar(char c);
std::string AnsiLowerCase(std::string_view text);
bool AnsiSameText(std::string_view a, std::string_view b);

// Removes characters with codes up to 32 at both ends.
std::string Trim(std::string_view text);

} // namespace wh
