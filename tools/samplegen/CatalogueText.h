#pragma once

#include "Collection.h"

#include <cstdint>
#include <string>
#include <vector>

namespace wh::sample {

// What the catalogue says about an archive once it is written.
struct TArchiveFacts {
    std::int64_t Size = -1;
    std::int32_t Timestamp = -1; // packed local date and time
};

std::string PackagesList(const std::vector<TSamplePackage>& packages);

// One livery's section: the simulator's keys, then the collection's own.
// The simulator's aircraft.cfg takes this section as it stands.
std::string LiverySection(const std::string& sectionName, const TSamplePackage& package, const TSampleLivery& livery,
                          const TArchiveFacts& archive);

// The package's aircraft.lst; liveries[i] is described by archives[i].
std::string AircraftList(const TSamplePackage& package, std::int32_t baseTimestamp,
                         const std::vector<TArchiveFacts>& archives);

} // namespace wh::sample
