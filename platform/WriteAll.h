#pragma once

#include <cstddef>
#include <string_view>

namespace wh {

// Writes all size bytes, going on after short writes and interrupted calls.
// Returns 0, or the errno of the write that failed.
int WriteAll(int fd, const char* data, std::size_t size);
inline int WriteAll(int fd, std::string_view bytes) { return WriteAll(fd, bytes.data(), bytes.size()); }
// The same at a position, leaving the file's own offset where it was: first,
// then second right after it, in one call where the system allows.
int WriteAllAt(int fd, std::string_view first, std::string_view second, long long offset);

} // namespace wh
