#pragma once

#include <optional>
#include <string>

namespace wh {

// What a row's folded texts must contain for the text given to --filter
// (UTF-8), as the window's filter field takes what is typed: accents taken
// off first, so that a letter Windows-1252 lacks finds its base letter;
// nothing when a character has no Windows-1252 form even then, as no row
// can hold it.
std::optional<std::string> FilterNeedle(const std::string& utf8);

} // namespace wh
