#include "app/ProgramInfo.h"

#include <cstdio>

#include "files/WorkingDir.h"

namespace wh {

std::string ProgramVersionText() {
    char text[64];
    std::snprintf(text, sizeof text, "%u.%u.%u.%u", unsigned(WH_VERSION_MAJOR), unsigned(WH_VERSION_MINOR),
                  unsigned(WH_VERSION_PATCH), unsigned(WH_VERSION_TWEAK));
    return text;
}

std::string HomePageURL() { return WH_HOME_PAGE; }

std::string DefaultSourceURL() { return WH_DEFAULT_SOURCE_URL; }

// The lock guards the working directory, so it lies there: only users who
// share that folder can hold it.
std::string SingleInstanceLockFile() { return WorkingDir() + "WingharbourClient.lock"; }

} // namespace wh
