#pragma once

#include <string>

#include "platform/FileDescriptor.h"

namespace wh {

// Single-instance guard: an advisory lock on a lock file inside the folder it
// protects. The lock goes with the process, so a crashed copy never blocks the
// next start.
class TSingleInstanceGuard {
public:
    TSingleInstanceGuard() = default;
    TSingleInstanceGuard(const TSingleInstanceGuard&) = delete;
    TSingleInstanceGuard& operator=(const TSingleInstanceGuard&) = delete;

    // True when this process now holds the lock; false when another holds it.
    // A lock file that cannot be opened (a link, a FIFO or anything else that
    // is not a regular file, no access) raises EFOpenError "Cannot open file
    // "<path>". <reason>", and a lock that cannot be taken EInOutError: the
    // program must not run unguarded.
    bool Acquire(const std::string& lockFilePath);

private:
    TFileDescriptor FHandle;
};

} // namespace wh
