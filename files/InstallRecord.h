#pragma once

#include <ctime>
#include <string>

#include "platform/FileTimes.h"

namespace wh {

// The working directory's archives are the record of what is installed: a
// livery's archive copy beside its texture folder says "installed", its time
// which version; base.zip's time says which base the aircraft folder holds.
//
// An install that is cut off must not leave a record that says "installed and
// current" for work that was not done. So an archive takes its place carrying
// the pending mark, the oldest time a packed age can hold, and gets its final
// time (now) only when the work it records is done: for a livery, its section
// written to aircraft.cfg; for base.zip, its extraction completed. A file with
// the mark counts as older than every catalogue time stamp, also a missing one
// (-1): such a livery shows "updated" (or "new" without its texture folder),
// such a base is installed again. Zapping keeps the time, so zap, section,
// final time is a safe order.

// 1980-01-01 00:00:00 local time, packed.
inline constexpr TPackedDateTime PendingInstallAge = (1 * 32 + 1) << 16;

// The pending mark as a file time.
std::time_t PendingInstallTime();
bool IsPendingInstallAge(TPackedDateTime age);

// Give the file the mark, or its final time (now). Raise EInOutError naming
// the file when its time cannot be set.
void MarkInstallPending(const std::string& path);
void MarkInstallDone(const std::string& path);

} // namespace wh
