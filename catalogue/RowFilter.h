#pragma once

#include <array>
#include <string>
#include <string_view>

namespace wh {

// A Windows-1252 text as the list's filter compares it: letter case and
// accents dropped, the ligatures, ß and the compatibility forms (™, …, ², ª)
// spelt out in plain letters, and the characters the list's collation
// ignores (soft hyphen, the undefined bytes) left out. These are the
// collation's primary letters, so "e" finds "É" and "ae" finds "Æ".
std::string FoldFilterText(std::string_view ansi);

// A row's texts folded into one text, column by column, for the filter to
// search at every keystroke.
std::string FoldRowTexts(const std::array<std::string, 8>& texts);

// Whether a row shows under a filter: the folded text of one of its columns
// contains the folded filter. An empty filter shows every row; a match never
// runs across two columns.
bool RowMatchesFilter(std::string_view foldedRow, std::string_view foldedFilter);

} // namespace wh
