#include "fetch/FetchAhead.h"

#include <cstdint>
#include <exception>
#include <optional>
#include <stdexcept>

#include "fetch/Fetch.h"
#include "fetch/HttpDownload.h"
#include "fetch/HttpTransfers.h"
#include "files/Activity.h"
#include "files/ReplacementFile.h"
#include "files/WorkingDir.h"
#include "platform/Errors.h"
#include "platform/Paths.h"

namespace wh {

namespace {

// The indicator moves once per 1024-byte block, as a download one by one moves it.
constexpr std::uint64_t DownloadBlock = 1024;

// One file of the run: its transfer, and the new file that waits for its turn.
struct TEntry : THttpReceiver {
    std::string Name;
    std::string Url;
    std::string Destination;
    // Failures before the transfer, raised when the file's turn comes, at the
    // point where fetching one by one would meet them.
    std::exception_ptr FolderFailure;
    std::exception_ptr FileFailure;
    std::optional<TReplacementFile> File;
    std::unique_ptr<THttpTransfer> Request;
    std::uint64_t Received = 0;
    std::uint64_t Stepped = 0;

    void Body(const char* data, std::size_t size) override {
        File->Write(data, size);
        Received += size;
    }
    void Idle() override {}

    bool Done() const { return FolderFailure || FileFailure || (Request && Request->IsFinished()); }

    // Steps for the whole blocks that arrived since the last call.
    bool StepWholeBlocks(TWHActivity& activity) {
        const std::uint64_t due = Received / DownloadBlock;
        const bool stepped = Stepped < due;
        while (Stepped < due) {
            ++Stepped;
            activity.StepProgress();
        }
        return stepped;
    }
};

} // namespace

struct TFetchAhead::TImpl {
    TWHActivity& Activity;
    const TWHSourceSettings& Source;
    THttpOptions Options;
    std::vector<std::string> Names;
    bool Download = false;
    // Declared before the transfers, which must go first.
    std::vector<std::unique_ptr<TEntry>> Entries;
    THttpTransfers Transfers;
    std::size_t Next = 0;      // the file whose turn is next
    std::size_t Started = 0;   // files whose transfer has begun (or failed to)

    TImpl(std::vector<std::string> names, TWHActivity& activity, const TWHSourceSettings& source,
          const THttpOptions& options)
        : Activity(activity), Source(source), Options(options), Names(std::move(names)),
          Download(FetchesFromURL(source)) {
        if (!Download || Names.empty())
            return;
        const std::string working = WorkingDir();
        for (const std::string& name : Names) {
            auto entry = std::make_unique<TEntry>();
            entry->Name = name;
            entry->Url = SourceFileURL(name, source);
            entry->Destination = working + name;
            Entries.push_back(std::move(entry));
        }
    }

    void StartMore() {
        while (Started < Entries.size() && Started < Next + Lookahead && Transfers.Running() < Parallel) {
            TEntry& entry = *Entries[Started++];
            try {
                CreateDirectoryPath(ExtractFilePath(entry.Destination));
            } catch (...) {
                entry.FolderFailure = std::current_exception();
                continue;
            }
            try {
                entry.File.emplace(OsPath(entry.Destination), NativePath(entry.Destination), FetchedFileReplacement);
            } catch (...) {
                entry.FileFailure = std::current_exception();
                continue;
            }
            entry.Request = std::make_unique<THttpTransfer>(entry.Url, entry, Options);
            Transfers.Start(*entry.Request);
        }
    }

    // The indicator's steps for every block that arrived, of any file.
    bool StepArrivedBlocks() {
        bool stepped = false;
        for (std::size_t i = Next; i < Started; ++i)
            stepped = Entries[i]->StepWholeBlocks(Activity) || stepped;
        return stepped;
    }

    // Runs the transfers until entry's has ended, keeping the window alive.
    void WaitFor(TEntry& entry) {
        while (true) {
            Transfers.Perform();
            StartMore();
            if (!StepArrivedBlocks())
                Activity.ProcessMessages();
            if (Activity.CancelRequested()) {
                const std::string message = "Download of '" + entry.Url + "' cancelled.";
                Activity.SetStatus(message);
                throw EOperationCancelled(message);
            }
            if (entry.Done())
                return;
            Transfers.Wait(Options.PollMs);
        }
    }

    void Fetch(TEntry& entry) {
        StartMore();
        if (entry.FolderFailure)
            std::rethrow_exception(entry.FolderFailure);
        Activity.SetStatus("connecting to fetch file '" + entry.Name + "'.");
        Activity.ShowProgress();
        {
            TBusyCursor busy(Activity);
            if (entry.FileFailure)
                std::rethrow_exception(entry.FileFailure);
            WaitFor(entry);
            const THttpOutcome outcome = entry.Request->Outcome();
            if (!outcome.Complete)
                throw EWingharbour("Error downloading URL '" + entry.Url + "'.");
            // The last partial block and the final empty read take a step each.
            entry.StepWholeBlocks(Activity);
            if (entry.Received % DownloadBlock != 0)
                Activity.StepProgress();
            Activity.StepProgress();
            entry.File->Commit();
        }
        entry.Request.reset();
        entry.File.reset();
        if (!FileExists(entry.Destination))
            throw EWingharbour("Could not fetch file '" + entry.Name + "'");
    }
};

TFetchAhead::TFetchAhead(std::vector<std::string> names, TWHActivity& activity, const TWHSourceSettings& source)
    : TFetchAhead(std::move(names), activity, source, THttpOptions{}) {}

TFetchAhead::TFetchAhead(std::vector<std::string> names, TWHActivity& activity, const TWHSourceSettings& source,
                         const THttpOptions& options)
    : F(std::make_unique<TImpl>(std::move(names), activity, source, options)) {}

TFetchAhead::~TFetchAhead() = default;

void TFetchAhead::Fetch(std::size_t index) {
    if (index != F->Next || index >= F->Names.size())
        throw std::logic_error("files fetched ahead are taken in order");
    if (F->Download)
        F->Fetch(*F->Entries[index]);
    else
        FetchFile(F->Names[index], F->Activity, F->Source);
    ++F->Next;
}

} // namespace wh
