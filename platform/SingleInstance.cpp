#include "platform/SingleInstance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

#include "platform/Paths.h"

namespace wh {

namespace {

int OpenLockFile(const std::string& path) {
    const std::filesystem::path os = OsPath(path);
    int fd = ::open(os.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0) {
        // The umask would keep other users out; every user's copy must be able
        // to open the same file.
        ::fchmod(fd, 0666);
        return fd;
    }
    fd = ::open(os.c_str(), O_RDWR | O_CLOEXEC);
    if (fd >= 0)
        return fd;
    // Another user's file without write access for us: a read-only
    // descriptor still takes an flock.
    return ::open(os.c_str(), O_RDONLY | O_CLOEXEC);
}

} // namespace

bool TSingleInstanceGuard::Acquire(const std::string& lockFilePath) {
    if (FHandle.IsOpen())
        return true;
    TFileDescriptor fd(OpenLockFile(lockFilePath));
    // A lock file that cannot be opened at all (no such folder, no access)
    // must not keep the user from working: run without the guard.
    if (!fd.IsOpen())
        return true;
    int rc;
    do
        rc = ::flock(fd.Get(), LOCK_EX | LOCK_NB);
    while (rc != 0 && errno == EINTR);
    if (rc != 0) {
        // Only another holder refuses the start; a file system without locks
        // behaves like an unopenable lock file.
        return errno != EWOULDBLOCK;
    }
    FHandle = std::move(fd);
    return true;
}

} // namespace wh
