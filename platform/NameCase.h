#pragma once

#include <string>
#include <string_view>

namespace wh {

// A file name folded for comparison without regard to letter case, the one
// rule of every case-blind lookup on the disk. UTF-8 in, UTF-8 out: Unicode's
// simple lower case, so Windows-1252 letters fold as they do there and names
// beyond that code page keep their identity instead of all becoming '?'.
// Bytes that are not UTF-8 compare as they are.
std::string FoldNameCase(std::string_view utf8);

} // namespace wh
