#include "platform/WriteAll.h"

#include <sys/uio.h>
#include <unistd.h>

#include <algorithm>
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

int WriteAllAt(int fd, std::string_view first, std::string_view second, long long offset) {
    iovec parts[2] = {{const_cast<char*>(first.data()), first.size()},
                      {const_cast<char*>(second.data()), second.size()}};
    iovec* part = parts;
    int count = 2;
    while (count > 0) {
        if (part->iov_len == 0) {
            ++part;
            --count;
            continue;
        }
        const ssize_t written = ::pwritev(fd, part, count, static_cast<off_t>(offset));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        offset += written;
        // Skip what went out, part by part.
        for (auto left = static_cast<std::size_t>(written); left > 0;) {
            const std::size_t taken = std::min(left, part->iov_len);
            part->iov_base = static_cast<char*>(part->iov_base) + taken;
            part->iov_len -= taken;
            left -= taken;
            if (part->iov_len == 0) {
                ++part;
                --count;
            }
        }
    }
    return 0;
}

} // namespace wh
