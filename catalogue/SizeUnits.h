#pragma once

#include <cstdint>
#include <string>

namespace wh {

// Units of 1024 as the list's Size column counts them, so that an archive of
// 1,024KB there is 1.0 MB here.
enum class TSizeUnit { KB, MB, GB };

// KB below 1000 KB, MB below 1000 MB, GB above.
TSizeUnit SizeUnitFor(std::uint64_t bytes);
const char* SizeUnitName(TSizeUnit unit);

// bytes in unit, rounded half up to the given number of decimals (0 to 3),
// with decimalPoint between the whole and the decimals; no unit name.
std::string SizeNumber(std::uint64_t bytes, TSizeUnit unit, int decimals, const std::string& decimalPoint);

// A size in its own unit, for a text that says "about": one decimal below
// 10 MB or GB, else whole numbers ("4.5 MB", "340 MB", "1.3 GB", "12 KB").
std::string ApproximateSizeText(std::uint64_t bytes, const std::string& decimalPoint);

} // namespace wh
