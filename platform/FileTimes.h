#pragma once

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>

namespace wh {

// Packed local date and time: date in the high 16 bits, time in the low 16 bits.
// date = (year - 1980) * 512 + month * 32 + day; time = hour * 2048 + minute * 32 + second / 2.
// Compared as signed numbers; -1 stands for a missing file.
using TPackedDateTime = std::int32_t;

struct TDateTimeParts {
    int Year = 1980, Month = 1, Day = 1, Hour = 0, Minute = 0, Second = 0;
    bool operator==(const TDateTimeParts&) const = default;
};

TPackedDateTime PackDateTime(const TDateTimeParts& parts);
TDateTimeParts UnpackDateTime(TPackedDateTime packed);

// The local date and time of a time_t, unclamped; the epoch's when the
// system cannot convert it.
TDateTimeParts LocalDateTime(std::time_t t);

// Local time of a time_t, packed; and the time_t of a packed local time.
TPackedDateTime PackedFromTime(std::time_t t);
std::time_t TimeFromPacked(TPackedDateTime packed);

// The file's last-write time, local, packed; -1 when there is no such file
// (a directory does not count).
TPackedDateTime FileAge(const std::string& path);

// The times a file carries, kept to the nanosecond where the file system does.
struct TFileTimes {
    std::timespec Creation{}; // birth time where the file system has one; else zero
    std::timespec LastAccess{};
    std::timespec LastWrite{};
};

std::optional<TFileTimes> GetFileTimes(const std::string& path);
// Sets last-access and last-write times (creation time cannot be set on Linux);
// false on failure.
bool SetFileTimes(const std::string& path, const TFileTimes& times);
// Sets only the last-write (and last-access) time from a time_t.
bool SetFileLastWrite(const std::string& path, std::time_t t);

} // namespace wh
