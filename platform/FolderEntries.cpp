#include "platform/FolderEntries.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <memory>

#include "platform/FileDescriptor.h"

namespace wh {

namespace {

struct TDirCloser {
    void operator()(DIR* dir) const { ::closedir(dir); }
};

std::optional<std::vector<std::string>> Names(DIR* opened) {
    std::unique_ptr<DIR, TDirCloser> dir(opened);
    if (!dir)
        return std::nullopt;
    std::vector<std::string> names;
    while (const dirent* entry = ::readdir(dir.get())) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..")
            names.push_back(name);
    }
    return names;
}

std::size_t Limit(int fd, int name, std::size_t fallback) {
    const long value = ::fpathconf(fd, name);
    return value > 0 ? static_cast<std::size_t>(value) : fallback;
}

} // namespace

std::optional<std::vector<std::string>> FolderEntries(const std::filesystem::path& folder) {
    return Names(::opendir(folder.c_str()));
}

std::optional<std::vector<std::string>> FolderEntriesOf(int folderFd) {
    // A handle of its own: the listing closes what it reads from.
    TFileDescriptor fd(::openat(folderFd, ".", O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (!fd.IsOpen())
        return std::nullopt;
    DIR* dir = ::fdopendir(fd.Get());
    if (!dir)
        return std::nullopt;
    fd.Release(); // the listing owns it now
    return Names(dir);
}

bool MakeFolder(const std::filesystem::path& path, unsigned permissions) {
    return ::mkdir(path.c_str(), static_cast<mode_t>(permissions)) == 0;
}

bool MakeFolderAt(int folderFd, const std::string& name, unsigned permissions) {
    return ::mkdirat(folderFd, name.c_str(), static_cast<mode_t>(permissions)) == 0;
}

bool RemoveFile(const std::filesystem::path& path) { return ::unlink(path.c_str()) == 0; }

bool RemoveFileAt(int folderFd, const std::string& name) { return ::unlinkat(folderFd, name.c_str(), 0) == 0; }

bool RemoveFolder(const std::filesystem::path& path) { return ::rmdir(path.c_str()) == 0; }

bool RemoveFolderAt(int folderFd, const std::string& name) {
    return ::unlinkat(folderFd, name.c_str(), AT_REMOVEDIR) == 0;
}

bool RenameAt(int fromFolderFd, const std::string& from, int toFolderFd, const std::string& to) {
    return ::renameat(fromFolderFd, from.c_str(), toFolderFd, to.c_str()) == 0;
}

std::size_t NameLengthLimit(int folderFd, std::size_t fallback) { return Limit(folderFd, _PC_NAME_MAX, fallback); }

std::size_t PathLengthLimit(int folderFd, std::size_t fallback) { return Limit(folderFd, _PC_PATH_MAX, fallback); }

} // namespace wh
