#include "platform/SingleInstance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>

#include "platform/Errors.h"
#include "platform/Paths.h"

namespace wh {

namespace {

// No links followed (another user could point the name anywhere), and no
// blocking: opening a planted FIFO would otherwise wait for a writer forever.
constexpr int kOpenFlags = O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC;

// Whoever can open the lock file can hold it: flock takes a read-only handle,
// and an fcntl read lock on one stops a write lock just as well. So the file's
// modes admit only those who may write its folder anyway: the owner, and the
// folder's group where the folder lets that group write; others never. These
// modes are set whatever the umask, or a group member could not take the lock.
constexpr mode_t kOwnerOnly = 0600;
constexpr mode_t kOwnerAndGroup = 0660;

bool GroupMayWrite(const struct stat& folder) { return (folder.st_mode & (S_IWGRP | S_IXGRP)) == (S_IWGRP | S_IXGRP); }

// Whether someone who may not write the folder can open the file.
bool OpenToOutsiders(const struct stat& file, const struct stat& folder) {
    const bool groupShares = GroupMayWrite(folder) && file.st_gid == folder.st_gid;
    const mode_t outsiders = S_IROTH | S_IWOTH | (groupShares ? 0 : S_IRGRP | S_IWGRP);
    return (file.st_mode & outsiders) != 0;
}

// The modes for a lock file of the user's own. Without the set-group-ID bit
// a folder hands new files the creator's group, so the file is first given
// the folder's group; a user outside it keeps the file to himself.
mode_t OwnLockFileMode(int fd, const struct stat& file, const struct stat& folder) {
    if (!GroupMayWrite(folder))
        return kOwnerOnly;
    if (file.st_gid != folder.st_gid && ::fchown(fd, static_cast<uid_t>(-1), folder.st_gid) != 0)
        return kOwnerOnly;
    return kOwnerAndGroup;
}

// Refuses what is not a regular file, and a file that outsiders can open
// unless it is the user's own: that one (perhaps left wider by an older
// version) is narrowed through the handle, so no swapped name is changed.
void CheckLockFile(const std::string& path, int fd, const struct stat& folder) {
    struct stat st;
    if (::fstat(fd, &st) != 0)
        RaiseOpenError(path, std::strerror(errno));
    if (!S_ISREG(st.st_mode))
        RaiseOpenError(path, "It is not a regular file.");
    if (st.st_uid == ::geteuid()) {
        const mode_t mode = OwnLockFileMode(fd, st, folder);
        if ((st.st_mode & 07777) != mode && ::fchmod(fd, mode) != 0)
            RaiseOpenError(path, std::strerror(errno));
    } else if (OpenToOutsiders(st, folder)) {
        RaiseOpenError(path, "Other users can open it.");
    }
}

TFileDescriptor OpenLockFile(const std::string& path) {
    const std::filesystem::path os = OsPath(path);
    const std::filesystem::path parent = os.has_parent_path() ? os.parent_path() : std::filesystem::path(".");
    // The file is made and judged in the folder whose modes were read.
    TFileDescriptor folder(::open(parent.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    struct stat folderStatus;
    if (!folder.IsOpen() || ::fstat(folder.Get(), &folderStatus) != 0)
        RaiseOpenError(path, std::strerror(errno));
    const std::string name = os.filename().string();

    TFileDescriptor fd(::openat(folder.Get(), name.c_str(), O_RDWR | O_CREAT | O_EXCL | kOpenFlags, kOwnerOnly));
    if (!fd.IsOpen()) {
        if (errno != EEXIST)
            RaiseOpenError(path, std::strerror(errno));
        fd.Reset(::openat(folder.Get(), name.c_str(), O_RDWR | kOpenFlags));
    }
    if (!fd.IsOpen()) {
        const int error = errno;
        // A handle that cannot write never takes the lock: one who may not
        // write the file is not whom it guards for. Reading it only tells why.
        if (error == EACCES) {
            TFileDescriptor look(::openat(folder.Get(), name.c_str(), O_RDONLY | kOpenFlags));
            if (look.IsOpen())
                CheckLockFile(path, look.Get(), folderStatus);
        }
        RaiseOpenError(path, error == ELOOP ? "It is a symbolic link." : std::strerror(error));
    }
    CheckLockFile(path, fd.Get(), folderStatus);
    return fd;
}

} // namespace

bool TSingleInstanceGuard::Acquire(const std::string& lockFilePath) {
    if (FHandle.IsOpen())
        return true;
    TFileDescriptor fd = OpenLockFile(lockFilePath);
    int rc;
    do
        rc = ::flock(fd.Get(), LOCK_EX | LOCK_NB);
    while (rc != 0 && errno == EINTR);
    if (rc != 0) {
        if (errno == EWOULDBLOCK)
            return false;
        throw EInOutError("Cannot lock file \"" + NativePath(lockFilePath) + "\". " + std::strerror(errno));
    }
    FHandle = std::move(fd);
    return true;
}

} // namespace wh
