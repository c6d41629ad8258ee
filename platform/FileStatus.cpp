#include "platform/FileStatus.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace wh {

namespace {

TFileStatus::TKind KindOf(mode_t mode) {
    if (S_ISREG(mode))
        return TFileStatus::TKind::Regular;
    if (S_ISDIR(mode))
        return TFileStatus::TKind::Folder;
    if (S_ISLNK(mode))
        return TFileStatus::TKind::Link;
    return TFileStatus::TKind::Other;
}

bool Taken(int rc, const struct stat& st, TFileStatus& status) {
    if (rc != 0)
        return false;
    status.Kind = KindOf(st.st_mode);
    status.Device = st.st_dev;
    status.Inode = st.st_ino;
    status.Size = st.st_size;
    status.Modified = st.st_mtim;
    status.Changed = st.st_ctim;
    status.Permissions = st.st_mode & 07777;
    status.Owner = st.st_uid;
    status.Group = st.st_gid;
    status.Links = st.st_nlink;
    return true;
}

} // namespace

bool PathStatus(const std::filesystem::path& path, TFileStatus& status) {
    struct stat st;
    return Taken(::stat(path.c_str(), &st), st, status);
}

bool LinkStatus(const std::filesystem::path& path, TFileStatus& status) {
    struct stat st;
    return Taken(::lstat(path.c_str(), &st), st, status);
}

bool HandleStatus(int fd, TFileStatus& status) {
    struct stat st;
    return Taken(::fstat(fd, &st), st, status);
}

bool EntryStatus(int folderFd, const std::string& name, TFileStatus& status) {
    struct stat st;
    return Taken(::fstatat(folderFd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW), st, status);
}

bool MayWriteEntry(int folderFd, const std::string& name) {
    return ::faccessat(folderFd, name.c_str(), W_OK, AT_EACCESS) == 0;
}

unsigned EffectiveUser() { return ::geteuid(); }

unsigned EffectiveGroup() { return ::getegid(); }

} // namespace wh
