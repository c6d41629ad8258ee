#include "files/InstallRecord.h"

#include <cstring>

#include "platform/Errors.h"
#include "platform/Paths.h"
#include "platform/SystemError.h"

namespace wh {

namespace {

void SetTime(const std::string& path, std::time_t t) {
    if (!SetFileLastWrite(path, t)) {
        const int error = LastError();
        throw EInOutError("Cannot set the time of file \"" + NativePath(path) + "\". " + std::strerror(error), error);
    }
}

} // namespace

std::time_t PendingInstallTime() { return TimeFromPacked(PendingInstallAge); }

bool IsPendingInstallAge(TPackedDateTime age) { return age == PendingInstallAge; }

void MarkInstallPending(const std::string& path) { SetTime(path, PendingInstallTime()); }

void MarkInstallDone(const std::string& path) { SetTime(path, std::time(nullptr)); }

} // namespace wh
