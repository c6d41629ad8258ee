#include "files/WorkingDir.h"

#include "platform/Errors.h"
#include "platform/FileStatus.h"
#include "platform/FolderEntries.h"
#include "platform/Paths.h"
#include "platform/SystemError.h"
#include "platform/UserFolders.h"

namespace wh {

namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// "C:" and the like: a drive, which cannot be created.
bool IsDriveName(const std::string& path) { return path.size() == 2 && path[1] == ':'; }

// Creates what is missing of the path, from the deepest existing folder
// down, the last folder with the given modes; a folder that exists costs one
// stat and ends the walk up (its modes stay). True when the path is a
// directory at the end.
bool EnsureDirectoryPath(const std::string& path, unsigned permissions = 0777) {
    std::string p = path;
    if (!p.empty() && IsSeparator(p.back()))
        p.pop_back();
    if (p.empty() || IsDriveName(p))
        return true;
    TFileStatus st;
    if (OsStatus(p, st))
        return st.IsFolder();
    const std::string parent = ExtractFilePath(p);
    if (parent == p)
        return false;
    if (!parent.empty())
        EnsureDirectoryPath(parent);
    if (MakeFolder(OsPath(p), permissions))
        return true;
    // Made meanwhile by someone else, perhaps.
    return LastError() == EEXIST && DirectoryExists(p);
}

// The machine-wide folder, made when missing, without a final separator; the
// executable's folder when it cannot be named.
std::string CommonAppDataDir() {
    std::string folder = CommonAppDataFolder();
    if (folder.empty())
        return ExtractFilePath(ExecutablePath());
    if (!DirectoryExists(folder))
        CreateDirectoryPath(folder);
    if (folder.size() > 1 && IsSeparator(folder.back()))
        folder.pop_back();
    return folder;
}

// Others get no access to the downloads or the lock file; the umask decides
// the group's share, as for any folder the user makes.
constexpr unsigned kWorkingDirPermissions = 0770;

} // namespace

std::string WorkingDir() {
    std::string dir = CommonAppDataDir() + "\\Wingharbour";
    if (!EnsureDirectoryPath(dir, kWorkingDirPermissions) || !FolderWritable(dir)) {
        // No right to the machine-wide folder: the user's own data folder
        // takes its place, never the folder of an installed program. A
        // failure to make it shows when a file in it cannot be created.
        const std::string userDir = UserFolder(TUserFolder::Data);
        if (userDir.empty())
            return ExtractFilePath(ExecutablePath());
        dir = userDir + "Wingharbour";
        EnsureDirectoryPath(dir, kWorkingDirPermissions);
    }
    return NativePath(dir) + PathDelim;
}

std::string SingleInstanceLockFile() { return WorkingDir() + "WingharbourClient.lock"; }

void CreateDirectoryPath(const std::string& path) {
    if (path.empty())
        throw EInOutError("Unable to create directory: the path is empty");
    // A failure shows later, when a file in the folder cannot be created.
    EnsureDirectoryPath(path);
}

} // namespace wh
