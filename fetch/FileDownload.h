#pragma once

#include <cstdint>
#include <ctime>
#include <exception>
#include <memory>
#include <optional>
#include <string>

#include "fetch/HttpRequest.h"
#include "files/ReplacementFile.h"

namespace wh {

class TWHActivity;
class TWHOperationProgress;
class THttpTransfers;

// A broken download of at least this many bytes is kept beside its target,
// and the next download of it asks only for the rest (when the server still
// has the same version); below that a new transfer costs next to nothing.
inline constexpr std::uint64_t ResumeFromBytes = 64 * 1024;

// One URL downloaded into a replacement of the file at destination, which it
// takes the place of only when whole. What a broken download of it left there
// is continued. Run by TDownloadDriver; it must outlive the driver.
class TFileDownload final : private THttpReceiver {
public:
    // A file that cannot be made is raised by RaiseSetupFailure, at the
    // download's turn, where a download one by one would meet it.
    TFileDownload(std::string url, const std::string& destination, const THttpOptions& options,
                  TReplacementOptions replacement);
    ~TFileDownload();
    TFileDownload(const TFileDownload&) = delete;
    TFileDownload& operator=(const TFileDownload&) = delete;

    const std::string& Url() const { return FUrl; }
    void RaiseSetupFailure() const;

    // Asks for the rest of a continued file, else for the whole of it.
    void Start(THttpTransfers& transfers);
    // After the transfers moved: a resume the server cannot serve starts over
    // with the whole file. True once the download is over.
    bool Update(THttpTransfers& transfers);

    // One indicator step per whole 1024-byte block that arrived since the last
    // call, whatever sizes the network delivers; no messages are processed.
    void StepArrivedBlocks(TWHActivity& activity);
    void ReportBytes(TWHOperationProgress& progress) const;

    // Once over: true with the file in its place and the last steps taken
    // (the last partial block and the final empty read take one each).
    // Raises what the file's writes raised. Modified, when given, is the
    // file's time before it takes its place.
    bool Conclude(TWHActivity& activity, std::optional<std::time_t> modified);
    // A close stopped it: what is worth continuing stays for the next attempt.
    void Abandon();

private:
    void Body(const char* data, std::size_t size) override;
    void BodyLength(std::int64_t bytes) override { FLength = bytes; }
    void Begin(const THttpAnswer& answer) override;
    void KeepIfWorthIt(const THttpOutcome& outcome);

    std::string FUrl;
    THttpOptions FOptions;
    std::exception_ptr FSetupFailure;
    std::optional<TReplacementFile> FFile;
    THttpRequest FAsked;
    std::unique_ptr<THttpTransfer> FRequest;
    std::exception_ptr FFailure; // what a write raised
    THttpOutcome FOutcome;
    bool FOver = false;
    std::int64_t FLength = -1;
    std::uint64_t FHeld = 0; // what a continued file held before this transfer
    std::uint64_t FReceived = 0;
    std::uint64_t FStepped = 0;
};

} // namespace wh
