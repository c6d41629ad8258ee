#pragma once

#include <string>

namespace wh {

// Names read from the catalogue become parts of paths in the working and the
// simulator directories; a hostile or broken catalogue must not reach outside
// them.

// A package directory is relative and stays below its root: not absolute, no
// drive letter or other ":", no control character, and no component that
// Windows would change: one ending in a dot or a blank ("..", ".", "a.", "a ").
bool IsSafePackageDirectory(const std::string& directory);

// A texture name is one path component: no "\", "/", ":", no control
// character, not ending in a dot or a blank. The empty name is allowed.
bool IsSafeTextureName(const std::string& texture);

} // namespace wh
