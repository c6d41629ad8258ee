#include "fetch/Fetch.h"

#include <algorithm>
#include <optional>

#include "fetch/DownloadURL.h"
#include "fetch/HttpDownload.h"
#include "fetch/SourceSettings.h"
#include "files/Activity.h"
#include "files/CommandLineSplit.h"
#include "files/ReplacementFile.h"
#include "files/WorkingDir.h"
#include "files/FileCopy.h"
#include "platform/Codepage.h"
#include "platform/Errors.h"
#include "platform/FileDescriptor.h"
#include "platform/Paths.h"

namespace wh {

namespace {

constexpr const char* HttpPrefix = "http://";
constexpr const char* HttpsPrefix = "https://";

bool StartsWithIgnoringCase(const std::string& text, const std::string& prefix) {
    return text.size() >= prefix.size() && AnsiLowerCase(text.substr(0, prefix.size())) == prefix;
}

bool CanOpenForReading(const std::string& path) {
    return OpenFile(OsPath(path), OpenRead).IsOpen();
}

std::string CouldNotOpen(const std::string& path) { return "Could not open \"" + NativePath(path) + "\"."; }

void CopyReplacing(const std::string& source, const std::string& destination, std::optional<std::time_t> modified) {
    std::optional<TReplacementFile> file;
    try {
        file.emplace(OsPath(destination), NativePath(destination), FetchedFileReplacement);
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
                  const TWHSourceSettings& source, std::optional<std::time_t> modified = std::nullopt) {
    activity.SetStatus("copying '" + relativeName + "'");
    const std::string sourcePath = LocalSourceDir(source) + relativeName;
    CopyReplacing(sourcePath, destination, modified);
    activity.SetStatus("copied '" + relativeName + "'");
}

void DownloadFileTo(const std::string& relativeName, const std::string& destination, TWHActivity& activity,
                    const TWHSourceSettings& source, std::optional<std::time_t> modified = std::nullopt) {
    activity.SetStatus("connecting to fetch file '" + relativeName + "'.");
    const std::string url = SourceFileURL(relativeName, source);
    if (!DownloadURL(url, destination, activity, THttpOptions{}, modified))
        throw EWingharbour("Error downloading URL '" + url + "'.");
}

void FetchURLTo(const std::string& relativeName, const std::string& destination, TWHActivity& activity,
                const TWHSourceSettings& source, std::optional<std::time_t> modified = std::nullopt) {
    const std::string url = source.URLSelected() ? source.URLText() : std::string();
    if (Trim(url).empty())
        throw EWingharbour("no source URL specified.");
    // Checked on the text as typed: a leading blank is refused.
    if (!StartsWithIgnoringCase(url, HttpPrefix) && !StartsWithIgnoringCase(url, HttpsPrefix))
        throw EWingharbour("URL-protocol for '" + url + "' not supported.");
    DownloadFileTo(relativeName, destination, activity, source, modified);
}

} // namespace

// The working directory is worked out once per fetch and handed down, so
// that one fetch makes sure of it once.
void FetchFile(const std::string& relativeName, TWHActivity& activity, const TWHSourceSettings& source,
               std::optional<std::time_t> modified) {
    const std::string destination = WorkingDir() + relativeName;
    CreateDirectoryPath(ExtractFilePath(destination));

    if (source.LocalDirSelected())
        FetchLocalTo(relativeName, destination, activity, source, modified);
    else if (source.URLSelected())
        FetchURLTo(relativeName, destination, activity, source, modified);
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
    return !Trim(url).empty() && (StartsWithIgnoringCase(url, HttpPrefix) || StartsWithIgnoringCase(url, HttpsPrefix));
}

std::string SourceFileURL(const std::string& relativeName, const TWHSourceSettings& source) {
    std::string path = relativeName;
    std::replace(path.begin(), path.end(), '\\', '/');
    return AppendSeparator(source.URLText(), '/') + path;
}

} // namespace wh
