#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "catalogue/Aircraft.h"

namespace wh {

// "%0.0nKB": whole KB rounded half up, thousands grouped with the separator;
// empty for a size below 0.
std::string SizeText(std::int32_t archiveSize, const std::string& thousandsSeparator);

// The text of one column: 0 is the caption, N sub-item N - 1.
std::string AircraftRowText(const TWHAircraft& aircraft, int column, const std::string& thousandsSeparator);

// The row's caption and its seven sub-items, in column order.
std::array<std::string, 8> AircraftRowTexts(const TWHAircraft& aircraft, const std::string& thousandsSeparator);

// Rows as the clipboard takes them from the list: cells joined by tabs, each
// row ending in a line feed, so that a spreadsheet pastes them as a table. A
// tab or line break inside a cell becomes a blank and cannot split it.
std::string TabSeparatedRows(const std::vector<std::vector<std::string>>& rows);

} // namespace wh
