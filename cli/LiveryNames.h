#pragma once

#include <optional>
#include <string>
#include <vector>

namespace wh {

class TStatusLines;
class TWHAircraftRows;

// The rows a name given on the command line stands for (Windows-1252): those
// whose texture name or Livery text it is, or, written "directory/texture"
// (either separator), whose package directory and texture name; letter case
// ignored. Display order.
std::vector<int> RowsNamed(const TWHAircraftRows& rows, const std::string& name);

// How a row is named unmistakably: "directory/texture".
std::string UniqueLiveryName(const TWHAircraftRows& rows, int index);

// The rows of the names given (UTF-8), each once, in display order. A name
// that stands for no row or for several is told with the candidates, and
// the result is none.
std::optional<std::vector<int>> ChosenRows(const TWHAircraftRows& rows, const std::vector<std::string>& names,
                                           TStatusLines& lines);

} // namespace wh
