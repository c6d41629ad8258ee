#include "install/InstallRoom.h"

#include "catalogue/ActionToolTips.h"
#include "catalogue/AircraftRows.h"
#include "catalogue/CollectionLayout.h"
#include "catalogue/SizeUnits.h"
#include "install/Installer.h"
#include "platform/Paths.h"
#include "profile/IniFiles.h"

namespace wh {

namespace {

// Unpacked files are about twice their zip archive.
constexpr std::uint64_t UnpackFactor = 2;

bool Installs(const TWHAircraftRows& rows, int index) {
    const TWHAircraftState state = rows.RowAircraft(index).State;
    return rows.RowChecked(index) && (state == asNew || state == asUpdated);
}

struct TSums {
    std::uint64_t Work = 0;
    std::uint64_t Simulator = 0;
    int Unknown = 0;

    void Add(std::int32_t size, bool fetched, bool extracted) {
        if (size < 0) {
            ++Unknown;
            return;
        }
        const auto bytes = static_cast<std::uint64_t>(size);
        if (fetched)
            Work += bytes;
        if (extracted)
            Simulator += UnpackFactor * bytes;
    }
};

std::string Sentence(const TWHRoomNeed& place, const std::string& point) {
    std::string text =
        "The selected liveries need about " + ApproximateSizeText(place.Needed, point) + " in " + place.Folders.front();
    if (place.Folders.size() > 1)
        text += " and " + place.Folders.back() + ", which share a disk";
    return text + ", where " + ApproximateSizeText(place.Free, point) + " are free.";
}

} // namespace

std::map<std::string, TWHBasePlan> PlanBases(const TWHAircraftRows& rows, const TWHInstallOptions& options) {
    std::map<std::string, TWHBasePlan> plans;
    for (int i = 0; i < rows.RowCount(); ++i) {
        const std::string& directory = rows.RowAircraft(i).Directory;
        if (!Installs(rows, i) || plans.contains(directory))
            continue;
        const TWHBaseDecision decision = PackageBaseDecision(directory, options);
        const std::int32_t size =
            TIniFile(options.WorkingDir + AircraftListName(directory)).ReadInteger("Wingharbour", "wh_basesize", -1);
        plans[directory] = {decision.Fetch, decision.Needed, size};
    }
    return plans;
}

TWHInstallRoom CheckInstallRoom(const TWHAircraftRows& rows, const std::map<std::string, TWHBasePlan>& bases,
                                const TWHRoomPlace& work, const TWHRoomPlace& simulator,
                                const std::string& decimalPoint) {
    const TWHFetchVolume liveries = FetchVolume(rows);
    TSums sums{liveries.KnownBytes, UnpackFactor * liveries.KnownBytes, liveries.UnknownSizes};
    for (const auto& [directory, plan] : bases)
        if (plan.Fetch || plan.Extract)
            sums.Add(plan.Size, plan.Fetch, plan.Extract);

    TWHInstallRoom room;
    room.UnknownSizes = sums.Unknown;
    const auto folder = [](const TWHRoomPlace& place) {
        std::string name = NativePath(place.Folder);
        if (name.size() > 1 && name.back() == PathDelim)
            name.pop_back();
        return name;
    };
    if (work.Free && simulator.Free && work.Free->Device == simulator.Free->Device) {
        room.Places.push_back(
            {{folder(work), folder(simulator)}, sums.Work + sums.Simulator, work.Free->AvailableBytes});
    } else {
        if (work.Free)
            room.Places.push_back({{folder(work)}, sums.Work, work.Free->AvailableBytes});
        if (simulator.Free)
            room.Places.push_back({{folder(simulator)}, sums.Simulator, simulator.Free->AvailableBytes});
    }

    for (const TWHRoomNeed& place : room.Places)
        if (place.Short())
            room.Warning += (room.Warning.empty() ? "" : " ") + Sentence(place, decimalPoint);
    if (room.Warning.empty())
        return room;
    if (sums.Unknown > 0)
        room.Warning += " " + std::to_string(sums.Unknown) +
                        (sums.Unknown == 1 ? " archive of unknown size is" : " archives of unknown size are") +
                        " not counted.";
    room.Warning += " Install anyway?";
    return room;
}

} // namespace wh
