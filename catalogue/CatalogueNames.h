#pragma once

#include <string>

namespace wh {

// Names read from the catalogue become parts of paths in the working and the
// simulator directories; a hostile or broken catalogue must not reach outside
// them.

// A package directory is relative and stays below its root: not absolute, no
// drive letter or other ":", no ".." component, no control character.
bool IsSafePackageDirectory(const std::string& directory);

// A texture name is one path component: no "\", "/", ":" and no control
// character. The empty name is allowed.
bool IsSafeTextureName(const std::string& texture);

} // namespace wh
