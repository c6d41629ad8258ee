#pragma once

#include <cstdint>
#include <ctime>
#include <filesystem>

#include "platform/FileTimes.h"

namespace wh::sample {

// A wall-clock time in the machine's local zone; the collection's time stamps
// are local, like the file ages the client compares them with.
using TLocalTime = wh::TDateTimeParts;

// Date in the high 16 bits, time in the low 16 bits, two-second resolution.
inline std::int32_t Packed(const TLocalTime& t) { return wh::PackDateTime(t); }

std::time_t ToTimeT(const TLocalTime& t);

// The last-write time of a file, packed from local time; -1 when there is no file.
inline std::int32_t PackedFileAge(const std::filesystem::path& path) { return wh::FileAge(path.string()); }

// Throws std::runtime_error when the time cannot be set.
void SetLastWrite(const std::filesystem::path& path, const TLocalTime& t);

} // namespace wh::sample
