#pragma once

// The program reports failures by the system's error numbers (EInOutError's
// ErrorCode, the texts of std::strerror); the names of those numbers come
// from here, so that no folder above needs the system's own headers.
#include <cerrno>

namespace wh {

// The error number that the last failing call below left.
int LastError();

} // namespace wh
