#include "app/PickerRules.h"

#include "files/CommandLineSplit.h"
#include "platform/Codepage.h"
#include "platform/Paths.h"

namespace wh {

std::string PackagePickerStart(const std::string& editText) {
    const std::string name = EditFileName(editText);
    const std::string folder = ExtractFilePath(name);
    if (!folder.empty() && DirectoryExists(folder))
        return name;
    return ExtractFileName(name);
}

std::string PackagePickerResult(const std::string& pickedPath) {
    if (pickedPath.find(' ') != std::string::npos)
        return "\"" + pickedPath + "\"";
    return pickedPath;
}

std::string FolderPickerStart(const std::string& editText) {
    if (!Trim(editText).empty() && DirectoryExists(editText))
        return editText;
    return "/";
}

} // namespace wh
