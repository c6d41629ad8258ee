#pragma once

#include <functional>
#include <string>

namespace wh {

class TWHActivity;
class TWHSourceSettings;
class TWHAircraftList;

// Fetches "packages.zip", extracts it into the working directory, deletes it,
// then fetches and reads every package's aircraft.lst into the list (cleared
// first, inside one update bracket). Sorting, the recount and the status line
// are the window's. Raises on the first failure; rows read so far stay.
void ReadCatalogue(TWHActivity& activity, const TWHSourceSettings& source, TWHAircraftList& list, bool ignoreStatus);

// Reads the aircraft.lst of one package directory (as read from
// packages.lst, trimmed) in the working directory given, and appends one row
// per entry. meanwhile, when given, runs between runs of rows (the list's own
// work per row is the costly part), so that transfers of later lists keep moving.
void ReadAircraftList(const std::string& workingDir, const std::string& directory, TWHAircraftList& list,
                      bool ignoreStatus, const std::function<void()>& meanwhile = {});

} // namespace wh
