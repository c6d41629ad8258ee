#include "LocalTime.h"

#include <stdexcept>

namespace wh::sample {

std::time_t ToTimeT(const TLocalTime& t) {
    std::tm parts{};
    parts.tm_year = t.Year - 1900;
    parts.tm_mon = t.Month - 1;
    parts.tm_mday = t.Day;
    parts.tm_hour = t.Hour;
    parts.tm_min = t.Minute;
    parts.tm_sec = t.Second;
    parts.tm_isdst = -1; // let the zone decide whether summer time applies
    return std::mktime(&parts);
}

void SetLastWrite(const std::filesystem::path& path, const TLocalTime& t) {
    if (!wh::SetFileLastWrite(path.string(), ToTimeT(t)))
        throw std::runtime_error("cannot set the time of " + path.string());
}

} // namespace wh::sample
