#include "catalogue/CatalogueNames.h"

#include <algorithm>
#include <string_view>

namespace wh {

namespace {

bool IsControl(char c) { return static_cast<unsigned char>(c) < 32; }

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// Windows drops a component's final dots and blanks, so "..", "." and "a. "
// would name another folder there ("a. " is "a", ".. " is the parent).
// Every component made only of dots ends in one, so this covers them too.
bool IsAlteredComponent(std::string_view component) {
    return !component.empty() && (component.back() == '.' || component.back() == ' ');
}

bool HasAlteredComponent(const std::string& path) {
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = start;
        while (end < path.size() && !IsSeparator(path[end]))
            ++end;
        if (IsAlteredComponent(std::string_view(path).substr(start, end - start)))
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
    return !HasAlteredComponent(directory);
}

bool IsSafeTextureName(const std::string& texture) {
    return !IsAlteredComponent(texture) && std::none_of(texture.begin(), texture.end(), [](char c) {
        return IsSeparator(c) || c == ':' || IsControl(c);
    });
}

} // namespace wh
