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
    // The lock file admits only those who may write its folder: the owner, and
    // the folder's group where that group may write the folder; the user's own
    // file is brought to those modes. A lock file that cannot be opened for
    // writing (a link, a FIFO or anything else that is not a regular file, no
    // access) or that another user's modes leave open to outsiders raises
    // EFOpenError "Cannot open file "<path>". <reason>", and a lock that cannot
    // be taken EInOutError: the program must not run unguarded.
    bool Acquire(const std::string& lockFilePath);

private:
    TFileDescriptor FHandle;
};

} // namespace wh
