#pragma once

#include <ctime>
#include <optional>
#include <string>

namespace wh {

class TWHActivity;
class TWHSourceSettings;

// What a fetched file is to the working directory.
enum class TFetchedFile {
    // An archive the working directory keeps, the install's record: it
    // reaches the disk before it takes its cached copy's place.
    Kept,
    // A catalogue file, fetched anew at every load: the atomic rename is enough.
    Catalogue,
};

// Brings one file of the source, named relative to the source root with "\"
// between folders, into the working directory under the same name. Raises
// EWingharbour (or a file error) on failure; a failure never destroys the
// cached copy. With modified given, the new file carries that modification
// time already when it takes the cached copy's place (the installer's
// pending mark), so no moment shows it with the time of the fetch.
void FetchFile(const std::string& relativeName, TWHActivity& activity, const TWHSourceSettings& source,
               std::optional<std::time_t> modified = std::nullopt);
void FetchFile(const std::string& relativeName, TWHActivity& activity, const TWHSourceSettings& source,
               TFetchedFile kind, std::optional<std::time_t> modified = std::nullopt);

// What FetchFile does for a source it does not download from, into the
// working directory given: a run of fetches works it out once.
void FetchLocalFile(const std::string& relativeName, const std::string& workingDir, TWHActivity& activity,
                    const TWHSourceSettings& source, TFetchedFile kind,
                    std::optional<std::time_t> modified = std::nullopt);

std::string LocalSourceDir(const TWHSourceSettings& source);

// True when FetchFile would download from the source URL: the URL source is
// the one selected and its URL is one FetchFile accepts.
bool FetchesFromURL(const TWHSourceSettings& source);

} // namespace wh
