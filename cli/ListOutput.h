#pragma once

#include <array>
#include <string>
#include <vector>

namespace wh {

class TCatalogueRows;

// One row as a line of its column texts in the list's order, separated by
// tabs, UTF-8 (StatusLines.h's PrintableText), ended by a line feed.
std::string ListLine(const std::array<std::string, 8>& texts);

// The rows as one JSON array, an object per row with the column texts
// (livery, type, status, installed, designer, model, size, included) and the
// directory and texture that name it, UTF-8.
std::string ListJson(const TCatalogueRows& rows, const std::vector<int>& indexes);

// A JSON string of a Windows-1252 text: quotes, backslashes and every
// control character (C1 included) escaped.
std::string JsonString(const std::string& ansi);

} // namespace wh
