#include "install/Installer.h"

#include "activity/Activity.h"
#include "archive/Extract.h"
#include "archive/ZapFile.h"
#include "catalogue/Aircraft.h"
#include "catalogue/CollectionLayout.h"
#include "fetch/Fetch.h"
#include "files/InstallRecord.h"
#include "install/CfgSections.h"
#include "install/LiveryLines.h"
#include "install/RowWalk.h"
#include "platform/Errors.h"
#include "platform/Paths.h"
#include "profile/IniFiles.h"

namespace wh {

namespace {

// The livery's section in aircraft.cfg: the one already holding its livery
// line is rewritten in place, so an update or a repeated install leaves one;
// else the catalogue's section is appended. Renumbered in the same write, so
// no moment shows two sections of one number.
void WriteLiverySection(const TWHAircraft& aircraft, const TCfgLines& source, const TLiveryLines& names,
                        const std::string& cfg) {
    TCfgLines lines = LoadLines(cfg);
    if (!ReplaceLiverySectionLines(source, lines, aircraft.Section, names))
        AppendSectionLines(source, lines, aircraft.Section);
    RenumberSectionLines(lines, LiverySectionPrefix);
    SaveLines(cfg, lines);
}

void MarkManufacturer(const TWHAircraft& aircraft, const TLiveryLines& names, const std::string& cfg) {
    const TCfgLines lines = LoadLines(cfg);
    const auto header = FindInstalledSectionLine(lines, names);
    if (!header)
        RaiseLiverySectionNotFound(aircraft, cfg);
    TIniFile(cfg).WriteString(HeaderName(lines[*header]), "ui_manufacturer", "Wingharbour");
}

} // namespace

TWHBaseDecision DecideBase(TPackedDateTime baseAge, std::int32_t baseSize, std::int32_t baseTimestamp,
                           bool aircraftFolderExists) {
    const bool missing = baseAge == -1;
    const bool outdated = !missing && (baseTimestamp > baseAge || IsPendingInstallAge(baseAge));
    TWHBaseDecision decision;
    decision.Needed = missing || outdated || !aircraftFolderExists;
    decision.Fetch = missing || baseSize == 0 || (!missing && baseTimestamp > baseAge);
    return decision;
}

TWHBaseDecision PackageBaseDecision(const std::string& directory, const TWHInstallOptions& options) {
    const std::string base = options.WorkingDir + BaseArchiveName(directory);
    const std::int32_t baseTimestamp =
        TIniFile(options.WorkingDir + AircraftListName(directory)).ReadInteger("Wingharbour", "wh_basetimestamp", -1);
    return DecideBase(FileAge(base), FileSizeOf(base), baseTimestamp,
                      DirectoryExists(AircraftFolderPath(options.FSDir, directory)));
}

void InstallBase(const std::string& directory, const TWHInstallOptions& options, TWHActivity& activity) {
    const std::string base = options.WorkingDir + BaseArchiveName(directory);
    // A base.zip that looks current is only left by an extraction that ended.
    MarkInstallPending(base);
    ExtractArchive(BaseArchiveName(directory), AircraftFolderPath(options.FSDir, directory), activity);
    if (options.ZapFiles)
        ZapFile(base);
    MarkInstallDone(base);
}

void InstallAircraft(const TWHAircraft& aircraft, const TWHInstallOptions& options, TWHActivity& activity,
                     const TWHSourceSettings& source) {
    const std::string& directory = aircraft.Directory;
    const std::string catalogue = options.WorkingDir + AircraftListName(directory);
    const std::string aircraftFolder = AircraftFolderPath(options.FSDir, directory);
    const std::string cfg = AircraftCfgPath(options.FSDir, directory);

    const TWHBaseDecision decision = PackageBaseDecision(directory, options);
    if (decision.Fetch) {
        // A base about to be installed arrives pending; one that is not needed
        // is only brought back whole and keeps the time of its fetch.
        FetchFile(BaseArchiveName(directory), activity, source,
                  decision.Needed ? std::optional(PendingInstallTime()) : std::nullopt);
    }
    if (decision.Needed)
        InstallBase(directory, options, activity);

    const std::string archiveName = LiveryArchiveName(aircraft);
    const std::string archive = ArchiveCopyPath(aircraft, options.WorkingDir);
    activity.OperationProgress().LiveryArchiveNext(aircraft.ArchiveSize);
    FetchFile(archiveName, activity, source, PendingInstallTime());
    ExtractArchive(archiveName, aircraftFolder, activity);
    // The section comes before the zap: emptying the archive copy gives it
    // the time of now for a moment, and by then the record must be true.
    const TCfgLines catalogueLines = LoadLines(catalogue);
    const TLiveryLines names = LiveryLines(aircraft, catalogueLines);
    WriteLiverySection(aircraft, catalogueLines, names, cfg);
    if (options.FakeManufacturer)
        MarkManufacturer(aircraft, names, cfg);
    if (options.ZapFiles)
        ZapFile(archive);
    MarkInstallDone(archive);
}

bool InstallTickedRows(TWHAircraftRows& rows, const TWHInstallOptions& options, TWHActivity& activity,
                       const TWHSourceSettings& source, const std::function<bool()>& stopRequested) {
    return WalkTickedRows(
        rows, activity,
        [](const TWHAircraft& aircraft) { return aircraft.State == asNew || aircraft.State == asUpdated; },
        [&](TWHAircraft& aircraft) { InstallAircraft(aircraft, options, activity, source); }, stopRequested);
}

} // namespace wh
