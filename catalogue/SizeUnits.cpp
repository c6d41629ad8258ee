#include "catalogue/SizeUnits.h"

namespace wh {

namespace {

constexpr std::uint64_t UnitBytes(TSizeUnit unit) {
    switch (unit) {
    case TSizeUnit::KB:
        return 1024;
    case TSizeUnit::MB:
        return 1024 * 1024;
    case TSizeUnit::GB:
        return 1024 * 1024 * 1024;
    }
    return 1;
}

} // namespace

// From 1000 of a unit the next one is taken, so no figure needs four digits.
TSizeUnit SizeUnitFor(std::uint64_t bytes) {
    if (bytes < 1000 * UnitBytes(TSizeUnit::KB))
        return TSizeUnit::KB;
    if (bytes < 1000 * UnitBytes(TSizeUnit::MB))
        return TSizeUnit::MB;
    return TSizeUnit::GB;
}

const char* SizeUnitName(TSizeUnit unit) {
    switch (unit) {
    case TSizeUnit::KB:
        return "KB";
    case TSizeUnit::MB:
        return "MB";
    case TSizeUnit::GB:
        return "GB";
    }
    return "";
}

std::string SizeNumber(std::uint64_t bytes, TSizeUnit unit, int decimals, const std::string& decimalPoint) {
    std::uint64_t scale = 1;
    for (int i = 0; i < decimals; ++i)
        scale *= 10;
    // Integer arithmetic: the process's C locale must not choose the point.
    const unsigned __int128 unitBytes = UnitBytes(unit);
    const auto scaled =
        static_cast<std::uint64_t>((static_cast<unsigned __int128>(bytes) * scale * 2 + unitBytes) / (2 * unitBytes));
    std::string text = std::to_string(scaled / scale);
    if (decimals > 0) {
        std::string fraction = std::to_string(scaled % scale);
        text += decimalPoint + std::string(static_cast<std::size_t>(decimals) - fraction.size(), '0') + fraction;
    }
    return text;
}

std::string ApproximateSizeText(std::uint64_t bytes, const std::string& decimalPoint) {
    const TSizeUnit unit = SizeUnitFor(bytes);
    const bool small = unit != TSizeUnit::KB && bytes < 10 * UnitBytes(unit);
    return SizeNumber(bytes, unit, small ? 1 : 0, decimalPoint) + " " + SizeUnitName(unit);
}

} // namespace wh
