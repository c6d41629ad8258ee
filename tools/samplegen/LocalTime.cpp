#include "LocalTime.h"

#include <chrono>
#include <stdexcept>
#include <system_error>

namespace wh::sample {

namespace fs = std::filesystem;

std::int32_t Packed(const TLocalTime& t) {
    const std::uint32_t date = static_cast<std::uint32_t>((t.Year - 1980) * 512 + t.Month * 32 + t.Day);
    const std::uint32_t time = static_cast<std::uint32_t>(t.Hour * 2048 + t.Minute * 32 + t.Second / 2);
    return static_cast<std::int32_t>((date << 16) | time);
}

std::time_t ToTimeT(const TLocalTime& t) {
    std::tm parts{};
    parts.tm_year = t.Year - 1900;
    parts.tm_mon = t.Month - 1;
    parts.tm_mday = t.Day;
    parts.tm_hour = t.Hour;
    parts.tm_min = t.Minute;
    parts.tm_sec = t.Second;
    parts.tm_isdst = -1;   // let the zone decide whether summer time applies
    return std::mktime(&parts);
}

std::int32_t PackedFileAge(const fs::path& path) {
    std::error_code ec;
    if (!fs::is_regular_file(path, ec))
        return -1;
    const auto written = fs::last_write_time(path, ec);
    if (ec)
        return -1;
    const auto sys = std::chrono::file_clock::to_sys(written);
    const std::time_t seconds = std::chrono::system_clock::to_time_t(
        std::chrono::time_point_cast<std::chrono::system_clock::duration>(sys));
    std::tm local{};
    if (!localtime_r(&seconds, &local))
        return -1;
    return Packed({local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min,
                   local.tm_sec});
}

void SetLastWrite(const fs::path& path, const TLocalTime& t) {
    const auto sys = std::chrono::system_clock::from_time_t(ToTimeT(t));
    std::error_code ec;
    fs::last_write_time(path, std::chrono::file_clock::from_sys(sys), ec);
    if (ec)
        throw std::runtime_error("cannot set the time of " + path.string() + ": " + ec.message());
}

} // namespace wh::sample
