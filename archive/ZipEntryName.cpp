#include "archive/ZipEntryName.h"

namespace wh {

namespace {

bool IsSeparator(char c) { return c == '/' || c == '\\'; }

bool IsAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

} // namespace

TEntryNameProblem SplitEntryName(std::string_view name, TZipEntryPath& path) {
    path = TZipEntryPath{};
    if (name.empty())
        return TEntryNameProblem::Empty;
    if (IsSeparator(name.front()))
        return TEntryNameProblem::Absolute;
    if (name.size() >= 2 && IsAsciiLetter(name[0]) && name[1] == ':')
        return TEntryNameProblem::DriveLetter;
    path.IsFolder = IsSeparator(name.back());

    std::size_t pos = 0;
    while (pos <= name.size()) {
        std::size_t end = pos;
        while (end < name.size() && !IsSeparator(name[end]))
            ++end;
        const std::string_view component = name.substr(pos, end - pos);
        if (component == "..")
            return TEntryNameProblem::ParentFolder;
        if (!component.empty() && component != ".")
            path.Components.emplace_back(component);
        pos = end + 1;
    }
    if (path.Components.empty())
        return TEntryNameProblem::Empty;
    return TEntryNameProblem::None;
}

} // namespace wh
