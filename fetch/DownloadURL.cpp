#include "fetch/DownloadURL.h"

#include <cstdint>

#include "fetch/HttpDownload.h"
#include "files/Activity.h"
#include "files/ReplacementFile.h"
#include "platform/Errors.h"
#include "platform/Paths.h"

namespace wh {

namespace {

// The indicator moves once per 1024-byte block, as if the body were read in
// such blocks, whatever sizes the network delivers.
constexpr std::uint64_t DownloadBlock = 1024;

class TBusyCursor {
public:
    explicit TBusyCursor(TWHActivity& activity) : FActivity(activity) { FActivity.SetBusyCursor(true); }
    ~TBusyCursor() { FActivity.SetBusyCursor(false); }
    TBusyCursor(const TBusyCursor&) = delete;
    TBusyCursor& operator=(const TBusyCursor&) = delete;

private:
    TWHActivity& FActivity;
};

// Tells the operation's progress of one download, on every path out.
class TDownloadReport {
public:
    explicit TDownloadReport(TWHOperationProgress& progress) : FProgress(progress) { FProgress.DownloadBegun(); }
    ~TDownloadReport() { FProgress.DownloadEnded(); }
    TDownloadReport(const TDownloadReport&) = delete;
    TDownloadReport& operator=(const TDownloadReport&) = delete;

private:
    TWHOperationProgress& FProgress;
};

// Stores the body and moves the indicator. Steps are taken in Idle, outside
// curl's callback, since a step processes window messages.
class TBodyToFile : public THttpReceiver {
public:
    TBodyToFile(TReplacementFile& file, TWHActivity& activity)
        : FFile(file), FActivity(activity), FProgress(activity.OperationProgress()) {}

    void BodyLength(std::int64_t bytes) override { FLength = bytes; }

    void Body(const char* data, std::size_t size) override {
        FFile.Write(data, size);
        FReceived += size;
    }

    void Idle() override {
        FProgress.BytesReceived(FReceived, FLength);
        if (!StepWholeBlocks())
            FActivity.ProcessMessages();
    }

    bool Cancelled() const override { return FActivity.CancelRequested(); }

    // The last partial block and the final empty read each take a step.
    void Finish() {
        FProgress.BytesReceived(FReceived, FLength);
        StepWholeBlocks();
        if (FReceived % DownloadBlock != 0)
            FActivity.StepProgress();
        FActivity.StepProgress();
    }

private:
    bool StepWholeBlocks() {
        const std::uint64_t due = FReceived / DownloadBlock;
        const bool stepped = FStepped < due;
        while (FStepped < due) {
            ++FStepped;
            FActivity.StepProgress();
        }
        return stepped;
    }

    TReplacementFile& FFile;
    TWHActivity& FActivity;
    TWHOperationProgress& FProgress;
    std::int64_t FLength = -1;
    std::uint64_t FReceived = 0;
    std::uint64_t FStepped = 0;
};

} // namespace

bool DownloadURL(const std::string& url, const std::string& destination, TWHActivity& activity) {
    return DownloadURL(url, destination, activity, THttpOptions{});
}

bool DownloadURL(const std::string& url, const std::string& destination, TWHActivity& activity,
                 const THttpOptions& options, std::optional<std::time_t> modified) {
    activity.ShowProgress();
    TBusyCursor busy(activity);
    const TDownloadReport report(activity.OperationProgress());
    // The body goes beside the cached copy, which it replaces only when whole.
    TReplacementFile file(OsPath(destination), NativePath(destination), FetchedFileReplacement);
    TBodyToFile receiver(file, activity);
    const THttpOutcome outcome = HttpGet(url, receiver, options);
    if (outcome.Cancelled) {
        // The partial body goes with the replacement; the cached copy stays.
        const std::string message = "Download of '" + url + "' cancelled.";
        activity.SetStatus(message);
        throw EOperationCancelled(message);
    }
    if (!outcome.Complete)
        return false;
    receiver.Finish();
    if (modified)
        file.SetModified(*modified);
    file.Commit();
    return true;
}

} // namespace wh
