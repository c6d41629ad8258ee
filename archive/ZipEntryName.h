#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace wh {

// Why an entry name cannot become a path below the target folder.
enum class TEntryNameProblem {
    None,
    Empty,        // nothing but separators and "."
    Absolute,     // starts with a separator
    DriveLetter,  // "C:" and the like
    ParentFolder, // a ".." component
};

// An archive entry's name split into its folders and file name. Archives made
// on Windows use "\" as well as "/", so both separate. "." and empty
// components are dropped; a trailing separator marks a folder entry.
struct TZipEntryPath {
    std::vector<std::string> Components;
    bool IsFolder = false;
};

TEntryNameProblem SplitEntryName(std::string_view name, TZipEntryPath& path);

} // namespace wh
