#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace wh {

// aircraft.cfg as the installer edits it: a plain list of lines, no model of
// sections and keys, so that every line no rule touches is written back as it was.
using TCfgLines = std::vector<std::string>;

// CR LF, CR and LF each end a line; the ends are not part of the lines. A
// last line without an end still counts; an empty text has no lines.
TCfgLines SplitLines(std::string_view text);
// Every line followed by CR LF.
std::string JoinLines(const TCfgLines& lines);

// The whole file, found without regard to letter case. Raises EFOpenError
// "Cannot open file \"<path>\". <reason>" when it is missing or unreadable.
TCfgLines LoadLines(const std::string& fileName);
// Replaces the file in one step, keeping its permission bits. A refused write
// raises EWriteError "Unable to write to <path>" and leaves the file as it was.
void SaveLines(const std::string& fileName, const TCfgLines& lines);

// A line whose trimmed text begins with "[".
bool IsSectionHeader(std::string_view line);
// The header of that section exactly: "[" + section + "]" after trimming,
// letter case ignored, blanks inside the brackets significant.
bool IsHeaderOf(std::string_view line, std::string_view section);
// The trimmed header without its first and last character.
std::string HeaderName(std::string_view line);

} // namespace wh
