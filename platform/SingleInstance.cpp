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

TFileDescriptor OpenLockFile(const std::string& path) {
    const std::filesystem::path os = OsPath(path);
    TFileDescriptor fd(::open(os.c_str(), O_RDWR | O_CREAT | O_EXCL | kOpenFlags, 0644));
    if (fd.IsOpen()) {
        // Despite the umask, every user's copy must be able to open it for
        // reading, which is all an flock needs.
        ::fchmod(fd.Get(), 0644);
        return fd;
    }
    if (errno != EEXIST)
        RaiseOpenError(path, std::strerror(errno));
    fd.Reset(::open(os.c_str(), O_RDWR | kOpenFlags));
    if (!fd.IsOpen() && errno == EACCES)
        fd.Reset(::open(os.c_str(), O_RDONLY | kOpenFlags));
    if (!fd.IsOpen())
        RaiseOpenError(path, errno == ELOOP ? "It is a symbolic link." : std::strerror(errno));
    return fd;
}

} // namespace

bool TSingleInstanceGuard::Acquire(const std::string& lockFilePath) {
    if (FHandle.IsOpen())
        return true;
    TFileDescriptor fd = OpenLockFile(lockFilePath);
    struct stat st;
    if (::fstat(fd.Get(), &st) != 0)
        RaiseOpenError(lockFilePath, std::strerror(errno));
    if (!S_ISREG(st.st_mode))
        RaiseOpenError(lockFilePath, "It is not a regular file.");
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
