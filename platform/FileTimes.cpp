#include "platform/FileTimes.h"

#include <fcntl.h>
#include <sys/stat.h>

#include "platform/Paths.h"

namespace wh {

namespace {

constexpr int kFirstYear = 1980;
constexpr int kLastYear = 2107; // seven bits of years

} // namespace

TPackedDateTime PackDateTime(const TDateTimeParts& p) {
    const std::uint32_t date = static_cast<std::uint32_t>((p.Year - kFirstYear) * 512 + p.Month * 32 + p.Day);
    const std::uint32_t time = static_cast<std::uint32_t>(p.Hour * 2048 + p.Minute * 32 + p.Second / 2);
    // From 2044 on the date's top bit lands in bit 31 and the value turns negative.
    return static_cast<TPackedDateTime>((date << 16) | (time & 0xFFFF));
}

TDateTimeParts UnpackDateTime(TPackedDateTime packed) {
    const auto value = static_cast<std::uint32_t>(packed);
    const std::uint32_t date = value >> 16;
    const std::uint32_t time = value & 0xFFFF;
    TDateTimeParts p;
    p.Year = static_cast<int>(date >> 9) + kFirstYear;
    p.Month = static_cast<int>((date >> 5) & 0x0F);
    p.Day = static_cast<int>(date & 0x1F);
    p.Hour = static_cast<int>(time >> 11);
    p.Minute = static_cast<int>((time >> 5) & 0x3F);
    p.Second = static_cast<int>(time & 0x1F) * 2;
    return p;
}

TDateTimeParts LocalDateTime(std::time_t t) {
    std::tm local{};
    if (!::localtime_r(&t, &local))
        return TDateTimeParts{1970, 1, 1, 0, 0, 0};
    return TDateTimeParts{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                          local.tm_hour,        local.tm_min,     local.tm_sec};
}

TPackedDateTime PackedFromTime(std::time_t t) {
    std::tm local{};
    if (!::localtime_r(&t, &local))
        return -1;
    TDateTimeParts p{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec};
    // Times outside the encodable years are held at its ends rather than
    // wrapping into a different date.
    if (p.Year < kFirstYear)
        p = TDateTimeParts{};
    else if (p.Year > kLastYear)
        p = TDateTimeParts{kLastYear, 12, 31, 23, 59, 58};
    if (p.Second > 59)
        p.Second = 58; // a leap second still belongs to its minute
    return PackDateTime(p);
}

std::time_t TimeFromPacked(TPackedDateTime packed) {
    const TDateTimeParts p = UnpackDateTime(packed);
    std::tm local{};
    local.tm_year = p.Year - 1900;
    local.tm_mon = p.Month - 1;
    local.tm_mday = p.Day;
    local.tm_hour = p.Hour;
    local.tm_min = p.Minute;
    local.tm_sec = p.Second;
    local.tm_isdst = -1;
    return std::mktime(&local);
}

TPackedDateTime FileAge(const std::string& path) {
    struct stat st;
    if (::stat(OsPath(path).c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return -1;
    return PackedFromTime(st.st_mtim.tv_sec);
}

std::optional<TFileTimes> GetFileTimes(const std::string& path) {
    const std::filesystem::path os = OsPath(path);
    TFileTimes times;
#ifdef STATX_BTIME
    struct statx stx;
    if (::statx(AT_FDCWD, os.c_str(), 0, STATX_BASIC_STATS | STATX_BTIME, &stx) == 0) {
        if (stx.stx_mask & STATX_BTIME)
            times.Creation = {static_cast<std::time_t>(stx.stx_btime.tv_sec), stx.stx_btime.tv_nsec};
        times.LastAccess = {static_cast<std::time_t>(stx.stx_atime.tv_sec), stx.stx_atime.tv_nsec};
        times.LastWrite = {static_cast<std::time_t>(stx.stx_mtime.tv_sec), stx.stx_mtime.tv_nsec};
        return times;
    }
#endif
    struct stat st;
    if (::stat(os.c_str(), &st) != 0)
        return std::nullopt;
    times.LastAccess = st.st_atim;
    times.LastWrite = st.st_mtim;
    return times;
}

bool SetFileTimes(const std::string& path, const TFileTimes& times) {
    const std::timespec both[2] = {times.LastAccess, times.LastWrite};
    return ::utimensat(AT_FDCWD, OsPath(path).c_str(), both, 0) == 0;
}

bool SetFileLastWrite(const std::string& path, std::time_t t) {
    const std::timespec both[2] = {{t, 0}, {t, 0}};
    return ::utimensat(AT_FDCWD, OsPath(path).c_str(), both, 0) == 0;
}

} // namespace wh
