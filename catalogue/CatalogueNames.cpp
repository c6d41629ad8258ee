#include "catalogue/CatalogueNames.h"

#include <algorithm>

namespace wh {

namespace {

bool IsControl(char c) { return static_cast<unsigned char>(c) < 32; }

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

bool HasParentComponent(const std::string& path) {
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = start;
        while (end < path.size() && !IsSeparator(path[end]))
            ++end;
        if (path.compare(start, end - start, "..") == 0)
            return true;
        start = end + 1;
    }
    return false;
}

} // namespace

bool IsSafePackageDirectory(const std::string& directory) {
    if (directory.empty() || IsSeparator(directory.front()))
        return false;
    // A ":" names a drive ("C:x" is relative to that drive's current folder)
    // or an alternate stream; neither belongs in a package directory.
    if (std::any_of(directory.begin(), directory.end(), [](char c) { return c == ':' || IsControl(c); }))
        return false;
    return !HasParentComponent(directory);
}

bool IsSafeTextureName(const std::string& texture) {
    return std::none_of(texture.begin(), texture.end(),
                        [](char c) { return IsSeparator(c) || c == ':' || IsControl(c); });
}

} // namespace wh
