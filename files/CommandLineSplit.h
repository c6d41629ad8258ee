#pragma once

#include <string>
#include <vector>

namespace wh {

// A command line split as Windows splits it: blanks separate, double quotes
// group and are removed.
std::vector<std::string> SplitCommandLine(const std::string& text);

// The file name of a file-name edit: its text when a file of that name exists,
// otherwise the first token of the text split as a command line.
std::string EditFileName(const std::string& text);

} // namespace wh
