#include "catalogue/ActionToolTips.h"

#include "catalogue/AircraftRows.h"
#include "catalogue/SizeUnits.h"

namespace wh {

namespace {

std::string Liveries(int count) { return std::to_string(count) + (count == 1 ? " livery" : " liveries"); }

} // namespace

TWHFetchVolume FetchVolume(const TWHAircraftRows& rows) {
    TWHFetchVolume volume;
    for (int i = 0; i < rows.RowCount(); ++i) {
        if (!rows.RowChecked(i))
            continue;
        const TWHAircraft& aircraft = rows.RowAircraft(i);
        if (aircraft.State != asNew && aircraft.State != asUpdated)
            continue;
        ++volume.Liveries;
        if (aircraft.ArchiveSize < 0)
            ++volume.UnknownSizes;
        else
            volume.KnownBytes += static_cast<std::uint64_t>(aircraft.ArchiveSize);
    }
    return volume;
}

std::string InstallToolTip(const TWHFetchVolume& volume, const std::string& decimalPoint) {
    std::string text = Liveries(volume.Liveries);
    if (volume.Liveries == 0)
        return text;
    if (volume.UnknownSizes == volume.Liveries)
        return text + ", size unknown";
    text += ", about " + ApproximateSizeText(volume.KnownBytes, decimalPoint);
    if (volume.UnknownSizes > 0)
        text += " (" + std::to_string(volume.UnknownSizes) + " of unknown size)";
    return text;
}

std::string DeinstallToolTip(int removeCount) { return Liveries(removeCount) + " to remove"; }

} // namespace wh
