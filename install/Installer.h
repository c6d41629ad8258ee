#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/FileTimes.h"

namespace wh {

class TWHActivity;
class TWHAircraft;
class TWHAircraftRows;
class TWHSourceSettings;

// What an install reads of the Welcome page, taken once when the button is
// pressed.
struct TWHInstallOptions {
    std::string WorkingDir;        // W, ending with a separator
    std::string FSDir;             // FS: edFSDir's text through AppendSeparator with "\"
    bool ZapFiles = true;          // cbZapFiles
    bool FakeManufacturer = false; // cbFakeManufacturer
};

// Whether the package's base must be extracted, and whether base.zip must be
// fetched first. baseAge and baseSize are -1 for a missing base.zip.
struct TWHBaseDecision {
    bool Needed = false;
    bool Fetch = false;
    bool operator==(const TWHBaseDecision&) const = default;
};
// Needed: no base.zip, one older than the catalogue's base time stamp (a
// pending one always is), or no aircraft folder. Fetched: missing, zapped, or
// older than the time stamp: an outdated copy is never extracted again.
TWHBaseDecision DecideBase(TPackedDateTime baseAge, std::int32_t baseSize, std::int32_t baseTimestamp,
                           bool aircraftFolderExists);
// DecideBase for one package directory from what the disk holds now: its
// cached base.zip, the catalogue's base time stamp, its aircraft folder.
TWHBaseDecision PackageBaseDecision(const std::string& directory, const TWHInstallOptions& options);

// Installs one livery: the base when needed, the texture archive fetched and
// extracted into the aircraft folder, zapped when asked, its section written
// to aircraft.cfg (an existing section of the livery replaced in place, else
// appended and the sections renumbered), the manufacturer mark when asked.
// The archives carry the pending mark (files/InstallRecord.h) until the work
// they record is done. Any failure raises and leaves what was done so far.
void InstallAircraft(const TWHAircraft& aircraft, const TWHInstallOptions& options, TWHActivity& activity,
                     const TWHSourceSettings& source);

// Extracts the package's cached base.zip into its aircraft folder, zaps it
// when asked, then gives it its final time.
void InstallBase(const std::string& directory, const TWHInstallOptions& options, TWHActivity& activity);

// btnInstallClick's walk: every ticked new or updated row in display order
// (install/RowWalk.h). Returns false when stopRequested ended it early.
bool InstallTickedRows(TWHAircraftRows& rows, const TWHInstallOptions& options, TWHActivity& activity,
                       const TWHSourceSettings& source, const std::function<bool()>& stopRequested = {});

} // namespace wh
