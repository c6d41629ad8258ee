#pragma once

#include <string>

namespace wh {

// Empties the directory tree below dir (dir itself stays); never fails.
void DeleteDirectoryContents(const std::string& dir);

} // namespace wh
