#include "platform/FileDescriptor.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace wh {

int TFileDescriptor::Close() {
    if (FFd < 0)
        return 0;
    // Retrying a close after EINTR could close a descriptor reused meanwhile.
    return ::close(Release()) == 0 ? 0 : errno;
}

namespace {

int SystemFlags(unsigned flags) {
    int os = O_CLOEXEC;
    if (flags & OpenReadWrite)
        os |= O_RDWR;
    else if (flags & OpenWrite)
        os |= O_WRONLY;
    else
        os |= O_RDONLY;
    if (flags & OpenCreate)
        os |= O_CREAT;
    if (flags & OpenExclusive)
        os |= O_EXCL;
    if (flags & OpenTruncate)
        os |= O_TRUNC;
    if (flags & OpenNoFollow)
        os |= O_NOFOLLOW;
    if (flags & OpenNonBlocking)
        os |= O_NONBLOCK;
    if (flags & OpenFolder)
        os |= O_DIRECTORY;
    return os;
}

} // namespace

void TFileDescriptor::Reset(int fd) noexcept {
    if (FFd >= 0)
        ::close(FFd);
    FFd = fd;
}

TFileDescriptor OpenFile(const std::filesystem::path& path, unsigned flags, unsigned permissions) {
    return TFileDescriptor(::open(path.c_str(), SystemFlags(flags), static_cast<mode_t>(permissions)));
}

TFileDescriptor OpenFileAt(int folderFd, const std::string& name, unsigned flags, unsigned permissions) {
    return TFileDescriptor(::openat(folderFd, name.c_str(), SystemFlags(flags), static_cast<mode_t>(permissions)));
}

bool TruncateFile(int fd, long long size) { return ::ftruncate(fd, static_cast<off_t>(size)) == 0; }

bool SyncFile(int fd) { return ::fsync(fd) == 0; }

bool ChangePermissions(int fd, unsigned permissions) { return ::fchmod(fd, static_cast<mode_t>(permissions)) == 0; }

bool ChangeOwner(int fd, unsigned owner, unsigned group) { return ::fchown(fd, owner, group) == 0; }

bool SetHandleTimes(int fd, std::time_t time) {
    const timespec times[2] = {{time, 0}, {time, 0}};
    return ::futimens(fd, times) == 0;
}

} // namespace wh
