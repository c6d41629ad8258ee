#include "app/ProgramInfo.h"

#include <cstdio>

namespace wh {

std::string ProgramVersionText() {
    char text[64];
    std::snprintf(text, sizeof text, "%u.%u.%u.%u", unsigned(WH_VERSION_MAJOR), unsigned(WH_VERSION_MINOR),
                  unsigned(WH_VERSION_PATCH), unsigned(WH_VERSION_TWEAK));
    return text;
}

std::string HomePageURL() { return WH_HOME_PAGE; }

} // namespace wh
