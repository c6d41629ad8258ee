#include "fetch/Fetch.h"

#include <algorithm>
#include <optional>

#include "activity/Activity.h"
#include "fetch/FetchAhead.h"
#include "fetch/SourceSettings.h"
#include "fetch/SourceURL.h"
#include "files/CommandLineSplit.h"
#include "files/FileCopy.h"
#include "files/ReplacementFile.h"
#include "files/WorkingDir.h"
#include "platform/Codepage.h"
#include "platform/Errors.h"
#include "platform/FileDescriptor.h"
#include "platform/Paths.h"

namespace wh {

namespace {

bool CanOpenForReading(const std::string& path) { return OpenFile(OsPath(path), OpenRead).IsOpen(); }

std::string CouldNotOpen(const std::string& path) { return "Could not open \"" + NativePath(path) + "\"."; }

void CopyReplacing(const std::string& source, const std::string& destination, TFetchedFile kind,
                   std::optional<std::time_t> modified) {
    std::optional<TReplacementFile> file;
    try {
        file.emplace(OsPath(destination), NativePath(destination),
                     kind == TFetchedFile::Kept ? FetchedFileReplacement : CatalogueFileReplacement);
    } catch (const EInOutError&) {
        // Report what a plain copy would: it opens the source first, and a
        // destination it cannot create is an open error naming that file.
        throw EFOpenError(CouldNotOpen(CanOpenForReading(source) ? destination : source));
    }
    FileCopy(source, *file);
    if (modified)
        file->SetModified(*modified);
    file->Commit();
}

void FetchLocalTo(const std::string& relativeName, const std::string& destination, TWHActivity& activity,
                  const TWHSourceSettings& source, TFetchedFile kind, std::optional<std::time_t> modified) {
    activity.SetStatus("copying '" + relativeName + "'");
    const std::string sourcePath = LocalSourceDir(source) + relativeName;
    CopyReplacing(sourcePath, destination, kind, modified);
    activity.SetStatus("copied '" + relativeName + "'");
}

// Only a URL that cannot be fetched comes here (FetchFile downloads the
// others): the error says why.
void RefuseURL(const TWHSourceSettings& source) {
    const std::string url = source.URLSelected() ? source.URLText() : std::string();
    if (Trim(url).empty())
        throw EWingharbour("no source URL specified.");
    // Checked on the text as typed: a leading blank is refused.
    throw EWingharbour("URL-protocol for '" + url + "' not supported.");
}

} // namespace

void FetchFile(const std::string& relativeName, TWHActivity& activity, const TWHSourceSettings& source,
               std::optional<std::time_t> modified) {
    FetchFile(relativeName, activity, source, TFetchedFile::Kept, modified);
}

void FetchFile(const std::string& relativeName, TWHActivity& activity, const TWHSourceSettings& source,
               TFetchedFile kind, std::optional<std::time_t> modified) {
    // A download is the run of files fetched in turn, with one file.
    if (FetchesFromURL(source))
        TFetchAhead(std::vector<std::string>{relativeName}, activity, source, kind).Fetch(0, modified);
    else
        FetchLocalFile(relativeName, WorkingDir(), activity, source, kind, modified);
}

void FetchLocalFile(const std::string& relativeName, const std::string& workingDir, TWHActivity& activity,
                    const TWHSourceSettings& source, TFetchedFile kind, std::optional<std::time_t> modified) {
    const std::string destination = workingDir + relativeName;
    CreateDirectoryPath(ExtractFilePath(destination));

    if (source.LocalDirSelected())
        FetchLocalTo(relativeName, destination, activity, source, kind, modified);
    else if (source.URLSelected())
        RefuseURL(source);
    else
        throw EWingharbour("Source (local,URL) not specified.");

    // Our own steps raise before this could happen; it remains for a file
    // removed meanwhile (a message handled during the fetch may do so).
    if (!FileExists(destination))
        throw EWingharbour("Could not fetch file '" + relativeName + "'");
}

std::string LocalSourceDir(const TWHSourceSettings& source) {
    // The edit's text usually names the file itself: one look tells both
    // which name to take and that the file exists.
    std::string packageFile;
    bool found = false;
    if (source.LocalDirSelected()) {
        const std::string text = source.PackageFileText();
        found = FileExists(text);
        packageFile = found ? text : EditFileName(text);
    }
    if (Trim(packageFile).empty())
        throw EWingharbour("no local directory specified.");
    if (!found && !FileExists(packageFile))
        throw EWingharbour("local directory not found.");
    return ExtractFilePath(packageFile);
}

bool FetchesFromURL(const TWHSourceSettings& source) {
    if (source.LocalDirSelected() || !source.URLSelected())
        return false;
    const std::string url = source.URLText();
    return !Trim(url).empty() && IsHttpSourceURL(url);
}

} // namespace wh
