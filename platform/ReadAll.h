#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace wh {

// Reads until size bytes are in or the file ends, going on after short reads
// and interrupted calls: from offset, or from the file's own position when
// offset is negative. The bytes read, or -1 on failure (LastError() tells why).
long long ReadAll(int fd, char* buffer, std::size_t size, long long offset = -1);

// The rest of the file the same way; sizeHint only sizes the first buffer.
// Empty on failure.
std::optional<std::string> ReadToEnd(int fd, std::size_t sizeHint, long long offset = -1);

} // namespace wh
