#pragma once

#include <string>

namespace wh {

// The per-user base folders of the XDG layout, for a program installed where
// its user may not write.
enum class TUserFolder { Config, State, Data };

// $XDG_CONFIG_HOME, $XDG_STATE_HOME or $XDG_DATA_HOME when it names an
// absolute path, else ~/.config, ~/.local/state or ~/.local/share; ends with a
// separator. Empty when neither the variable nor HOME gives an absolute path.
std::string UserFolder(TUserFolder folder);

// The folder exists and the caller may create files in it.
bool FolderWritable(const std::string& folder);

// Where the settings file and the log go.
struct TProgramFiles {
    std::string Settings;
    std::string Log;
    bool BesideProgram = false;
};

// Beside the executable while its folder is writable (a build folder, a
// portable copy); otherwise "Wingharbour/<name>.ini" in the config folder
// and "Wingharbour/<name>.LOG" in the state folder, those folders created
// when missing (a failure shows when the file is created).
TProgramFiles ProgramFiles(const std::string& programPath);

} // namespace wh
