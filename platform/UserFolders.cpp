#include "platform/UserFolders.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "platform/Codepage.h"
#include "platform/Paths.h"

namespace wh {

namespace {

// Relative values are to be ignored, as the XDG layout says.
std::string AbsoluteVariable(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr || value[0] != '/')
        return {};
    std::string folder = Utf8ToAnsi(value);
    if (folder.back() != PathDelim)
        folder += PathDelim;
    return folder;
}

} // namespace

std::string UserFolder(TUserFolder folder) {
    const char* variable = "XDG_DATA_HOME";
    const char* below = ".local/share/";
    switch (folder) {
    case TUserFolder::Config:
        variable = "XDG_CONFIG_HOME";
        below = ".config/";
        break;
    case TUserFolder::State:
        variable = "XDG_STATE_HOME";
        below = ".local/state/";
        break;
    case TUserFolder::Data:
        break;
    }
    if (std::string value = AbsoluteVariable(variable); !value.empty())
        return value;
    const std::string home = AbsoluteVariable("HOME");
    return home.empty() ? std::string() : home + below;
}

bool FolderWritable(const std::string& folder) {
    return DirectoryExists(folder) && ::access(OsPath(folder).c_str(), W_OK | X_OK) == 0;
}

TProgramFiles ProgramFiles(const std::string& programPath) {
    const std::string programDir = ExtractFilePath(programPath);
    if (FolderWritable(programDir.empty() ? std::string(".") : programDir))
        return {ChangeFileExt(programPath, ".ini"), ChangeFileExt(programPath, ".LOG"), true};
    const std::string name = ExtractFileName(programPath);
    TProgramFiles files{UserFolder(TUserFolder::Config) + "Wingharbour/" + ChangeFileExt(name, ".ini"),
                        UserFolder(TUserFolder::State) + "Wingharbour/" + ChangeFileExt(name, ".LOG"), false};
    for (const std::string* file : {&files.Settings, &files.Log}) {
        std::error_code ignored;
        if (file->front() == PathDelim)
            std::filesystem::create_directories(OsPath(ExtractFilePath(*file)), ignored);
    }
    return files;
}

} // namespace wh
