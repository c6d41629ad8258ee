#include "fetch/FetchAhead.h"

#include <exception>
#include <optional>
#include <stdexcept>

#include "activity/Activity.h"
#include "fetch/DownloadDriver.h"
#include "fetch/FileDownload.h"
#include "fetch/HttpRequest.h"
#include "fetch/SourceSettings.h"
#include "fetch/SourceURL.h"
#include "files/ReplacementFile.h"
#include "files/WorkingDir.h"
#include "platform/Errors.h"
#include "platform/Paths.h"

namespace wh {

namespace {

// One file of the run: its download, and the new file that waits for its turn.
struct TEntry {
    std::string Name;
    std::string Destination;
    // A folder that cannot be made, raised when the file's turn comes, at the
    // point where fetching one by one would meet it.
    std::exception_ptr FolderFailure;
    std::optional<TFileDownload> Download;
};

} // namespace

struct TFetchAhead::TImpl {
    TWHActivity& Activity;
    const TWHSourceSettings& Source;
    THttpOptions Options;
    TFetchedFile Kind;
    std::vector<std::string> Names;
    std::string Working; // worked out once for the run
    bool Download = false;
    std::string SourceURL;
    // Declared before the driver, which must go first.
    std::vector<std::unique_ptr<TEntry>> Entries;
    TDownloadDriver Driver;
    std::size_t Next = 0;    // the file whose turn is next
    std::size_t Started = 0; // files whose transfer has begun (or failed to)

    TImpl(std::vector<std::string> names, TWHActivity& activity, const TWHSourceSettings& source,
          const THttpOptions& options, TFetchedFile kind)
        : Activity(activity), Source(source), Options(options), Kind(kind), Names(std::move(names)),
          Download(FetchesFromURL(source)), Driver(activity, options, [this] { StartMore(); }) {
        if (Names.empty())
            return;
        Working = WorkingDir();
        if (!Download)
            return;
        SourceURL = source.URLText();
        for (const std::string& name : Names) {
            auto& entry = *Entries.emplace_back(std::make_unique<TEntry>());
            entry.Name = name;
            entry.Destination = Working + name;
        }
    }

    void StartMore() {
        while (Started < Entries.size() && Started < Next + Lookahead && Driver.Running() < Parallel) {
            TEntry& entry = *Entries[Started++];
            try {
                CreateDirectoryPath(ExtractFilePath(entry.Destination));
            } catch (...) {
                entry.FolderFailure = std::current_exception();
                continue;
            }
            entry.Download.emplace(SourceFileURL(SourceURL, entry.Name), entry.Destination, Options,
                                   Kind == TFetchedFile::Kept ? ResumableFetchReplacement
                                                              : ResumableCatalogueReplacement);
            Driver.Add(*entry.Download);
        }
    }

    void Fetch(TEntry& entry, std::optional<std::time_t> modified) {
        StartMore();
        if (entry.FolderFailure)
            std::rethrow_exception(entry.FolderFailure);
        Activity.SetStatus("connecting to fetch file '" + entry.Name + "'.");
        if (!Driver.Complete(*entry.Download, modified))
            throw EWingharbour("Error downloading URL '" + entry.Download->Url() + "'.");
        entry.Download.reset();
        if (!FileExists(entry.Destination))
            throw EWingharbour("Could not fetch file '" + entry.Name + "'");
    }
};

TFetchAhead::TFetchAhead(std::vector<std::string> names, TWHActivity& activity, const TWHSourceSettings& source,
                         TFetchedFile kind)
    : TFetchAhead(std::move(names), activity, source, THttpOptions{}, kind) {}

TFetchAhead::TFetchAhead(std::vector<std::string> names, TWHActivity& activity, const TWHSourceSettings& source,
                         const THttpOptions& options, TFetchedFile kind)
    : F(std::make_unique<TImpl>(std::move(names), activity, source, options, kind)) {}

TFetchAhead::~TFetchAhead() = default;

void TFetchAhead::Fetch(std::size_t index, std::optional<std::time_t> modified) {
    if (index != F->Next || index >= F->Names.size())
        throw std::logic_error("files fetched ahead are taken in order");
    if (F->Download)
        F->Fetch(*F->Entries[index], modified);
    else
        FetchLocalFile(F->Names[index], F->Working, F->Activity, F->Source, F->Kind, modified);
    ++F->Next;
}

void TFetchAhead::Drive() {
    if (F->Download)
        F->Driver.Drive();
}

} // namespace wh
