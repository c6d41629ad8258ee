#include "fetch/DownloadURL.h"

#include <chrono>
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
constexpr long HttpPartialContent = 206;
constexpr long HttpRangeNotSatisfiable = 416;
// Messages are processed at most this often while the body arrives: at
// loopback speed a pump per block costs several times the transfer.
constexpr std::chrono::milliseconds PumpInterval{5};

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

// Stores the body and moves the indicator. Steps and pumps are taken in
// Idle, outside curl's callback, since processing messages may run anything.
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
        ReportBytes();
        StepWholeBlocks();
        const auto now = std::chrono::steady_clock::now();
        if (now - FLastPump < PumpInterval)
            return;
        FLastPump = now;
        FActivity.ProcessMessages();
    }

    bool Cancelled() const override { return FActivity.CancelRequested(); }

    // A 206 continues what the file holds; a 200 is the whole file anew.
    void Begin(const THttpAnswer& answer) override {
        if (answer.Status != HttpPartialContent)
            FFile.Restart(answer.Validator);
        FHeld = FFile.Size();
    }

    // The last partial block and the final empty read each take a step.
    void Finish() {
        ReportBytes();
        StepWholeBlocks();
        if (FReceived % DownloadBlock != 0)
            FActivity.MoveProgress();
        FActivity.StepProgress();
    }

private:
    // A continued file counts what it already held, as the user sees the whole archive.
    void ReportBytes() {
        FProgress.BytesReceived(FHeld + FReceived, FLength < 0 ? -1 : static_cast<std::int64_t>(FHeld) + FLength);
    }

    void StepWholeBlocks() {
        for (const std::uint64_t due = FReceived / DownloadBlock; FStepped < due; ++FStepped)
            FActivity.MoveProgress();
    }

    TReplacementFile& FFile;
    TWHActivity& FActivity;
    TWHOperationProgress& FProgress;
    std::int64_t FLength = -1;
    std::uint64_t FHeld = 0;
    std::uint64_t FReceived = 0;
    std::uint64_t FStepped = 0;
    std::chrono::steady_clock::time_point FLastPump = std::chrono::steady_clock::now() - PumpInterval;
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
    // What a broken download of it left there is continued.
    TReplacementFile file(OsPath(destination), NativePath(destination), ResumableFetchReplacement);
    TBodyToFile receiver(file, activity);
    THttpRequest request{url, std::nullopt, {}};
    if (!file.Tag().empty() && file.Size() >= ResumeFromBytes) {
        request.RangeStart = file.Size();
        request.IfRange = file.Tag();
    }
    THttpOutcome outcome = HttpGet(request, receiver, options);
    if (request.RangeStart && !outcome.Began && !outcome.Cancelled &&
        (outcome.Status == HttpPartialContent || outcome.Status == HttpRangeNotSatisfiable)) {
        // The server cannot give the rest from there: the whole file.
        file.Restart({});
        outcome = HttpGet(THttpRequest{url, std::nullopt, {}}, receiver, options);
    }
    if (!outcome.Complete) {
        // Worth keeping after a broken transfer of the answer that counted,
        // or when no answer came; any other answer says nothing is to be continued.
        if ((outcome.Began || outcome.Status == 0) && file.Size() >= ResumeFromBytes)
            file.Keep();
    }
    if (outcome.Cancelled) {
        // The cached copy stays.
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
