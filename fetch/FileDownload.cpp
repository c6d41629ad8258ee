#include "fetch/FileDownload.h"

#include "activity/Activity.h"
#include "fetch/HttpTransfers.h"
#include "platform/Paths.h"

namespace wh {

namespace {

// The indicator moves once per 1024-byte block, as if the body were read in
// such blocks.
constexpr std::uint64_t DownloadBlock = 1024;
constexpr long HttpPartialContent = 206;
constexpr long HttpRangeNotSatisfiable = 416;

} // namespace

TFileDownload::TFileDownload(std::string url, const std::string& destination, const THttpOptions& options,
                             TReplacementOptions replacement)
    : FUrl(std::move(url)), FOptions(options) {
    try {
        FFile.emplace(OsPath(destination), NativePath(destination), replacement);
    } catch (...) {
        FSetupFailure = std::current_exception();
        FOver = true;
        return;
    }
    FAsked.Url = FUrl;
    if (!FFile->Tag().empty() && FFile->Size() >= ResumeFromBytes) {
        FAsked.RangeStart = FFile->Size();
        FAsked.IfRange = FFile->Tag();
    }
}

TFileDownload::~TFileDownload() = default;

void TFileDownload::RaiseSetupFailure() const {
    if (FSetupFailure)
        std::rethrow_exception(FSetupFailure);
}

void TFileDownload::Start(THttpTransfers& transfers) {
    if (!FFile)
        return;
    FRequest = std::make_unique<THttpTransfer>(FAsked, static_cast<THttpReceiver&>(*this), FOptions);
    transfers.Start(*FRequest);
}

bool TFileDownload::Update(THttpTransfers& transfers) {
    if (FOver || !FRequest || !FRequest->IsFinished())
        return FOver;
    try {
        FOutcome = FRequest->Outcome();
    } catch (...) {
        FFailure = std::current_exception();
        FOver = true;
        return true;
    }
    if (FAsked.RangeStart && !FOutcome.Began &&
        (FOutcome.Status == HttpPartialContent || FOutcome.Status == HttpRangeNotSatisfiable)) {
        // The server cannot give the rest from there: the whole file.
        FFile->Restart({});
        FAsked = THttpRequest{FUrl, std::nullopt, {}};
        Start(transfers);
        return false;
    }
    FOver = true;
    return true;
}

void TFileDownload::Body(const char* data, std::size_t size) {
    FFile->Write(data, size);
    FReceived += size;
}

// A 206 continues what the file holds; a 200 is the whole file anew.
void TFileDownload::Begin(const THttpAnswer& answer) {
    if (answer.Status != HttpPartialContent)
        FFile->Restart(answer.Validator);
    FHeld = FFile->Size();
}

void TFileDownload::StepArrivedBlocks(TWHActivity& activity) {
    for (const std::uint64_t due = FReceived / DownloadBlock; FStepped < due; ++FStepped)
        activity.MoveProgress();
}

// A continued file counts what it already held, as the user sees the whole archive.
void TFileDownload::ReportBytes(TWHOperationProgress& progress) const {
    progress.BytesReceived(FHeld + FReceived, FLength < 0 ? -1 : static_cast<std::int64_t>(FHeld) + FLength);
}

// Worth keeping after a broken transfer of the answer that counted, or when
// no answer came; any other answer says nothing is to be continued.
void TFileDownload::KeepIfWorthIt(const THttpOutcome& outcome) {
    if ((outcome.Began || outcome.Status == 0) && FFile->Size() >= ResumeFromBytes)
        FFile->Keep();
}

bool TFileDownload::Conclude(TWHActivity& activity, std::optional<std::time_t> modified) {
    if (FFailure)
        std::rethrow_exception(FFailure);
    if (!FOutcome.Complete) {
        KeepIfWorthIt(FOutcome);
        return false;
    }
    ReportBytes(activity.OperationProgress());
    StepArrivedBlocks(activity);
    if (FReceived % DownloadBlock != 0)
        activity.MoveProgress();
    activity.StepProgress();
    if (modified)
        FFile->SetModified(*modified);
    FFile->Commit();
    return true;
}

void TFileDownload::Abandon() {
    if (FFile)
        KeepIfWorthIt(THttpOutcome{});
}

} // namespace wh
