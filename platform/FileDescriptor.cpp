#include "platform/FileDescriptor.h"

#include <unistd.h>

#include <cerrno>

namespace wh {

int TFileDescriptor::Close() {
    if (FFd < 0)
        return 0;
    // Retrying a close after EINTR could close a descriptor reused meanwhile.
    return ::close(Release()) == 0 ? 0 : errno;
}

void TFileDescriptor::Reset(int fd) noexcept {
    if (FFd >= 0)
        ::close(FFd);
    FFd = fd;
}

} // namespace wh
