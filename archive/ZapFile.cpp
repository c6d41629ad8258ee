#include "archive/ZapFile.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "platform/Errors.h"
#include "platform/FileDescriptor.h"
#include "platform/FileTimes.h"
#include "platform/Paths.h"

namespace wh {

namespace {

// Fails when another program holds the file open: the closest this system
// comes to opening it for exclusive access. File systems without leases
// answer otherwise and let the zap go on.
bool InUseByOthers(int fd) {
    if (::fcntl(fd, F_SETLEASE, F_WRLCK) == 0) {
        ::fcntl(fd, F_SETLEASE, F_UNLCK);
        return false;
    }
    return errno == EAGAIN || errno == EBUSY;
}

} // namespace

void ZapFile(const std::string& path) {
    const auto os = OsPath(path);
    std::optional<TFileTimes> times;
    {
        TFileDescriptor fd(::open(os.c_str(), O_RDONLY | O_CLOEXEC));
        if (fd.Get() < 0)
            RaiseOpenError(path, std::strerror(errno));
        struct stat st;
        if (::fstat(fd.Get(), &st) != 0)
            RaiseOpenError(path, std::strerror(errno));
        if (!S_ISREG(st.st_mode))
            RaiseOpenError(path, std::strerror(S_ISDIR(st.st_mode) ? EISDIR : EINVAL));
        if (InUseByOthers(fd.Get()))
            RaiseOpenError(path, "The file is in use by another program.");
        times = GetFileTimes(path);
        if (!times)
            RaiseOpenError(path, std::strerror(errno));
    }
    {
        TFileDescriptor fd(::open(os.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC));
        if (fd.Get() < 0)
            throw EInOutError("Cannot truncate file \"" + NativePath(path) + "\". " + std::strerror(errno));
    }
    // The times are the record of what was installed; losing them is a failure.
    if (!SetFileTimes(path, *times))
        RaiseOpenError(path, std::strerror(errno));
}

} // namespace wh
