#include "platform/WriteAll.h"

#include <unistd.h>

#include <cerrno>

namespace wh {

int WriteAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return 0;
}

int WriteAllAt(int fd, std::string_view bytes, long long offset) {
    const char* data = bytes.data();
    std::size_t size = bytes.size();
    while (size > 0) {
        const ssize_t written = ::pwrite(fd, data, size, static_cast<off_t>(offset));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        data += written;
        size -= static_cast<std::size_t>(written);
        offset += written;
    }
    return 0;
}

} // namespace wh
