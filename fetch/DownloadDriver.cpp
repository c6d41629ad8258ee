#include "fetch/DownloadDriver.h"

#include <algorithm>
#include <string>

#include "activity/Activity.h"
#include "fetch/FileDownload.h"
#include "platform/Errors.h"

namespace wh {

namespace {

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

} // namespace

TDownloadDriver::TDownloadDriver(TWHActivity& activity, const THttpOptions& options, std::function<void()> refill)
    : FActivity(activity), FPollMs(options.PollMs), FRefill(std::move(refill)) {}

void TDownloadDriver::Add(TFileDownload& download) {
    FDownloads.push_back(&download);
    download.Start(FTransfers);
}

void TDownloadDriver::Forget(TFileDownload& download) {
    FDownloads.erase(std::remove(FDownloads.begin(), FDownloads.end(), &download), FDownloads.end());
}

void TDownloadDriver::Round() {
    FTransfers.Perform();
    for (TFileDownload* download : FDownloads)
        download->Update(FTransfers);
    if (FRefill)
        FRefill();
}

void TDownloadDriver::Drive() { Round(); }

bool TDownloadDriver::Complete(TFileDownload& download, std::optional<std::time_t> modified) {
    struct TForget {
        TDownloadDriver& Driver;
        TFileDownload& Download;
        ~TForget() { Driver.Forget(Download); }
    } forget{*this, download};
    FActivity.ShowProgress();
    TBusyCursor busy(FActivity);
    const TDownloadReport report(FActivity.OperationProgress());
    download.RaiseSetupFailure();
    // Steps and pumps are taken here, outside curl's callbacks, since
    // processing messages may run anything.
    while (true) {
        Round();
        if (download.Update(FTransfers))
            break;
        for (TFileDownload* any : FDownloads)
            any->StepArrivedBlocks(FActivity);
        download.ReportBytes(FActivity.OperationProgress());
        if (FPumps.Due())
            FActivity.ProcessMessages();
        if (FActivity.CancelRequested()) {
            download.Abandon();
            const std::string message = "Download of '" + download.Url() + "' cancelled.";
            FActivity.SetStatus(message);
            throw EOperationCancelled(message);
        }
        FTransfers.Wait(FPollMs);
    }
    return download.Conclude(FActivity, modified);
}

} // namespace wh
