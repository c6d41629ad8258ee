#include "catalogue/CatalogueReader.h"

#include <cstring>
#include <filesystem>
#include <memory>
#include <system_error>
#include <vector>

#include "archive/Extract.h"
#include "catalogue/AircraftList.h"
#include "catalogue/CatalogueNames.h"
#include "catalogue/CollectionLayout.h"
#include "fetch/Fetch.h"
#include "fetch/FetchAhead.h"
#include "files/WorkingDir.h"
#include "platform/Codepage.h"
#include "platform/Errors.h"
#include "platform/Paths.h"
#include "platform/SystemError.h"
#include "profile/MemIniFiles.h"

namespace wh {

namespace {

const char* const Unspecified = "<unspecified>";

// Keeps the list's update bracket balanced whatever step fails.
class TUpdateBracket {
public:
    explicit TUpdateBracket(TWHAircraftList& list) : FList(list) { FList.BeginUpdate(); }
    ~TUpdateBracket() { FList.EndUpdate(); }
    TUpdateBracket(const TUpdateBracket&) = delete;
    TUpdateBracket& operator=(const TUpdateBracket&) = delete;

private:
    TWHAircraftList& FList;
};

std::string MissingDirectoryMessage(int n) {
    return "directory entry missing in packages.lst section " + std::to_string(n);
}

std::string InvalidDirectoryMessage(int n) {
    return "invalid directory entry in packages.lst section " + std::to_string(n);
}

std::string InvalidTextureNameMessage(const std::string& listName, const std::string& section) {
    return "invalid texture name in " + listName + " section " + section;
}

std::string FirstWord(const std::string& text) { return text.substr(0, text.find(' ')); }

std::string EffectiveStatus(const std::string& status, bool ignoreStatus) {
    if (ignoreStatus && AnsiLowerCase(status) != "pending")
        return "ok";
    return status;
}

std::unique_ptr<TWHAircraft> ReadAircraft(const TMemIniFile& ini, const std::string& section,
                                          const std::string& directory, bool ignoreStatus) {
    auto aircraft = std::make_unique<TWHAircraft>();
    aircraft->Section = section;
    aircraft->Airline = ini.ReadString(section, "wh_airline", Unspecified);
    aircraft->Designer = ini.ReadString(section, "wh_designer", Unspecified);
    aircraft->UIType = ini.ReadString(section, "ui_type", Unspecified);
    aircraft->FileName = FirstWord(ini.ReadString(section, "wh_filename", Unspecified));
    aircraft->Model = ini.ReadString(section, "wh_model", Unspecified);
    aircraft->CatalogueStatus = EffectiveStatus(ini.ReadString(section, "wh_status", ""), ignoreStatus);
    aircraft->ArchiveSize = ini.ReadInteger(section, "wh_archivesize", -1);
    aircraft->ArchiveTimestamp = ini.ReadInteger(section, "wh_archivetimestamp", -1);
    aircraft->Texture = ini.ReadString(section, LiveryKey, "");
    aircraft->Inclusion = ini.ReadString(section, "wh_inclusion", "");
    aircraft->Directory = directory;
    return aircraft;
}

// The extracted archive is no longer needed; a file that cannot be removed
// only costs disk space, so the load goes on.
void DeleteQuietly(const std::string& path) {
    std::error_code ec;
    std::filesystem::remove(OsPath(path), ec);
}

} // namespace

void ReadAircraftList(const std::string& workingDir, const std::string& directory, TWHAircraftList& list,
                      bool ignoreStatus, const std::function<void()>& meanwhile) {
    constexpr int RowsBetweenBreaks = 32;
    const std::string listName = AircraftListName(directory);
    // Read once: the list was fetched just before and nothing writes it meanwhile.
    const TMemIniFile ini(workingDir + listName);
    for (int n = 0;; ++n) {
        const std::string section = LiverySectionPrefix + std::to_string(n);
        if (!ini.SectionExists(section))
            break;
        auto aircraft = ReadAircraft(ini, section, directory, ignoreStatus);
        if (!IsSafeTextureName(aircraft->Texture))
            throw EWingharbour(InvalidTextureNameMessage(listName, section));
        list.Add(std::move(aircraft));
        if (meanwhile && n % RowsBetweenBreaks == RowsBetweenBreaks - 1)
            meanwhile();
    }
}

void ReadCatalogue(TWHActivity& activity, const TWHSourceSettings& source, TWHAircraftList& list, bool ignoreStatus) {
    FetchFile("packages.zip", activity, source, TFetchedFile::Catalogue);
    // One working directory for the whole load, as its fetches use.
    const std::string working = WorkingDir();
    // An archive without packages.lst must not leave the last load's file to be read.
    const std::string packagesLst = working + "packages.lst";
    DeleteQuietly(packagesLst);
    ExtractArchive("packages.zip", working, activity);
    DeleteQuietly(working + "packages.zip");
    if (!FileExists(packagesLst))
        RaiseOpenError(packagesLst, std::strerror(ENOENT));

    const TMemIniFile packages(packagesLst);
    TUpdateBracket bracket(list);
    list.Clear();
    // The packages up to the first gap or bad entry; that entry's error comes
    // after the packages before it are read.
    std::vector<std::string> directories;
    std::string badEntry;
    for (int n = 0;; ++n) {
        const std::string section = "package." + std::to_string(n);
        if (!packages.SectionExists(section))
            break;
        const std::string directory = Trim(packages.ReadString(section, "directory", ""));
        if (directory.empty())
            badEntry = MissingDirectoryMessage(n);
        else if (!IsSafePackageDirectory(directory))
            badEntry = InvalidDirectoryMessage(n);
        if (!badEntry.empty())
            break;
        directories.push_back(directory);
    }
    std::vector<std::string> names;
    for (const std::string& directory : directories)
        names.push_back(AircraftListName(directory));
    // Over a network the lists travel side by side; each is read in package
    // order once its turn comes, as if fetched just before.
    TFetchAhead lists(std::move(names), activity, source, TFetchedFile::Catalogue);
    for (std::size_t i = 0; i < directories.size(); ++i) {
        lists.Fetch(i);
        ReadAircraftList(working, directories[i], list, ignoreStatus, [&lists] { lists.Drive(); });
    }
    if (!badEntry.empty())
        throw EWingharbour(badEntry);
}

} // namespace wh
