#include "platform/FileLease.h"

#include <fcntl.h>

#include <cerrno>

namespace wh {

bool InUseByOthers(int fd) {
    if (::fcntl(fd, F_SETLEASE, F_WRLCK) == 0) {
        ::fcntl(fd, F_SETLEASE, F_UNLCK);
        return false;
    }
    return errno == EAGAIN || errno == EBUSY;
}

} // namespace wh
