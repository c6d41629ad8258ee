#pragma once

#include <cstdint>
#include <string>

namespace wh {

class TWHAircraftRows;

// What the install button would fetch: the ticked new and updated rows and
// the archive sizes the catalogue gives for them (a size below 0 is none).
struct TWHFetchVolume {
    int Liveries = 0;
    std::uint64_t KnownBytes = 0;
    int UnknownSizes = 0;
    bool operator==(const TWHFetchVolume&) const = default;
};

TWHFetchVolume FetchVolume(const TWHAircraftRows& rows);

// "12 liveries, about 340 MB"; liveries without a size are left out of the
// total and counted after it: "3 liveries, about 2.0 MB (1 of unknown size)",
// "2 liveries, size unknown" when no size is known.
std::string InstallToolTip(const TWHFetchVolume& volume, const std::string& decimalPoint);

// "3 liveries to remove".
std::string DeinstallToolTip(int removeCount);

} // namespace wh
