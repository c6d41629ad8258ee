#include "files/FolderDeletion.h"

#include <filesystem>

#include "platform/FileStatus.h"
#include "platform/FolderEntries.h"
#include "platform/Paths.h"

namespace wh {

namespace {

// Works on native names as the directory returns them, so names that have
// no Windows-1252 spelling are removed too.
void DeleteContents(const std::filesystem::path& dir) {
    const auto names = FolderEntries(dir);
    if (!names)
        return;
    for (const std::string& name : *names) {
        const std::filesystem::path entry = dir / name;
        TFileStatus st;
        if (!LinkStatus(entry, st))
            continue;
        if (st.IsFolder()) {
            DeleteContents(entry);
            RemoveFolder(entry);
        } else if (st.IsLink() || (st.Permissions & 0200)) {
            // A file without its owner's write permission counts as read-only
            // and stays, as a read-only file does on Windows; Linux itself
            // would let the folder's owner remove it.
            RemoveFile(entry);
        }
    }
}

} // namespace

void DeleteDirectoryContents(const std::string& dir) { DeleteContents(OsPath(dir)); }

} // namespace wh
