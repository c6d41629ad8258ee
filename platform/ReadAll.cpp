#include "platform/ReadAll.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace wh {

long long ReadAll(int fd, char* buffer, std::size_t size, long long offset) {
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = offset < 0 ? ::read(fd, buffer + done, size - done)
                                     : ::pread(fd, buffer + done, size - done, static_cast<off_t>(offset + done));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return -1;
        }
        if (n == 0)
            break;
        done += static_cast<std::size_t>(n);
    }
    return static_cast<long long>(done);
}

std::optional<std::string> ReadToEnd(int fd, std::size_t sizeHint, long long offset) {
    std::string bytes;
    // One more than expected, so that a file of the expected size ends in one pass.
    bytes.resize(sizeHint + 1);
    std::size_t used = 0;
    while (true) {
        if (used == bytes.size())
            bytes.resize(bytes.size() + std::max<std::size_t>(4096, bytes.size() / 2));
        const long long n = ReadAll(fd, bytes.data() + used, bytes.size() - used,
                                    offset < 0 ? -1 : offset + static_cast<long long>(used));
        if (n < 0)
            return std::nullopt;
        used += static_cast<std::size_t>(n);
        if (used < bytes.size())
            break; // fewer than asked for: the end
    }
    bytes.resize(used);
    return bytes;
}

} // namespace wh
