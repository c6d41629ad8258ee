#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/FreeSpace.h"

namespace wh {

class TWHAircraftRows;
struct TWHInstallOptions;

// What the install will do with one package's base.zip, and the archive's
// size as the package catalogue gives it ("wh_basesize", -1 when not given).
struct TWHBasePlan {
    bool Fetch = false;
    bool Extract = false;
    std::int32_t Size = -1;
    bool operator==(const TWHBasePlan&) const = default;
};

// By package directory, for each package with a ticked new or updated
// livery: the base decision its first livery will meet on the disk.
std::map<std::string, TWHBasePlan> PlanBases(const TWHAircraftRows& rows, const TWHInstallOptions& options);

// A folder the install fills, as the warning names it, and what the system
// says of its room (nothing when it could not tell).
struct TWHRoomPlace {
    std::string Folder;
    std::optional<TFreeSpace> Free;
};

// One file system the install fills: the folders on it (both when the
// working folder and the simulator share it), what they will take and what
// it has free.
struct TWHRoomNeed {
    std::vector<std::string> Folders;
    std::uint64_t Needed = 0;
    std::uint64_t Free = 0;
    bool Short() const { return Needed > Free; }
    bool operator==(const TWHRoomNeed&) const = default;
};

struct TWHInstallRoom {
    std::vector<TWHRoomNeed> Places; // the places whose room is known
    int UnknownSizes = 0;            // archives left out of the sums
    std::string Warning;             // the question to ask; empty when every place has room
};

// The ticked new and updated liveries' archives and the bases the plan
// fetches land in the working folder; what is extracted takes about twice
// its archive in the simulator. A place whose room is unknown is not judged.
TWHInstallRoom CheckInstallRoom(const TWHAircraftRows& rows, const std::map<std::string, TWHBasePlan>& bases,
                                const TWHRoomPlace& work, const TWHRoomPlace& simulator,
                                const std::string& decimalPoint);

} // namespace wh
