#pragma once

#include <string>

namespace wh {

// Where the package-file picker opens: the edit's file name when its folder
// exists, else only the bare name (the picker's own folder).
std::string PackagePickerStart(const std::string& editText);
// The picked path as the edit holds it: in double quotes when it has a blank,
// so that the edit's file name rule takes it back out whole.
std::string PackagePickerResult(const std::string& pickedPath);
// Where the folder picker opens: the edit's directory, or the root folder
// when the text is blank or names no existing directory.
std::string FolderPickerStart(const std::string& editText);

} // namespace wh
