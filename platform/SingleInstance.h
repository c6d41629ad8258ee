#pragma once

#include <string>

#include "platform/FileDescriptor.h"

namespace wh {

// Machine-wide single-instance guard: an advisory lock on a lock file that
// every user can open. The lock goes with the process, so a crashed copy never
// blocks the next start.
class TSingleInstanceGuard {
public:
    TSingleInstanceGuard() = default;
    TSingleInstanceGuard(const TSingleInstanceGuard&) = delete;
    TSingleInstanceGuard& operator=(const TSingleInstanceGuard&) = delete;

    // True when this process now holds the lock; false when another holds it.
    // A lock file that cannot be opened at all does not stop the program.
    bool Acquire(const std::string& lockFilePath);

private:
    TFileDescriptor FHandle;
};

} // namespace wh
