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
// Messages are processed at most this often while the body arrives: at
// loopback speed a pump per block costs several times the transfer.
constexpr std::chrono::milliseconds PumpInterval{5};

class TBusyCursor {
public:
    explicit TBusyCursor(TWHActivity& activity) : FActivity(activity) { FActivity.SetBusyCursor(true); }
    ~TBusyCursor() { FActivity.SetBusyCursor(false); }
    TBusyCursor(const TBusyCursor&) = delete;
    TBusyCursor& operator=(const TBusyCursor&) = delete;

private:
    TWHActivity& FActivity;
};

// Stores the body and moves the indicator. Steps and pumps are taken in
// Idle, outside curl's callback, since processing messages may run anything.
class TBodyToFile : public THttpReceiver {
public:
    TBodyToFile(TReplacementFile& file, TWHActivity& activity) : FFile(file), FActivity(activity) {}

    void Body(const char* data, std::size_t size) override {
        FFile.Write(data, size);
        FReceived += size;
    }

    void Idle() override {
        StepWholeBlocks();
        const auto now = std::chrono::steady_clock::now();
        if (now - FLastPump < PumpInterval)
            return;
        FLastPump = now;
        FActivity.ProcessMessages();
    }

    bool Cancelled() const override { return FActivity.CancelRequested(); }

    // The last partial block and the final empty read each take a step.
    void Finish() {
        StepWholeBlocks();
        if (FReceived % DownloadBlock != 0)
            FActivity.MoveProgress();
        FActivity.StepProgress();
    }

private:
    void StepWholeBlocks() {
        for (const std::uint64_t due = FReceived / DownloadBlock; FStepped < due; ++FStepped)
            FActivity.MoveProgress();
    }

    TReplacementFile& FFile;
    TWHActivity& FActivity;
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
