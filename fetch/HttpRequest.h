#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

typedef void CURL;

namespace wh {

// Limits of one HTTP transfer. The defaults are what the program uses; tests
// pass shorter ones through the DownloadURL overload that takes them.
struct THttpOptions {
    long ConnectTimeoutMs = 30'000;
    // A transfer slower than StallBytesPerSecond for StallSeconds is dropped,
    // so a server that stops sending, or trickles, cannot hold the program forever.
    long StallBytesPerSecond = 1024;
    long StallSeconds = 60;
    // How long one wait for the sockets may last before the window gets its
    // messages processed.
    int PollMs = 50;
    long MaxRedirects = 10;
    // curl's receive buffer: larger blocks mean fewer callbacks on fast links.
    long ReceiveBufferBytes = 128 * 1024;
};

inline constexpr const char* HttpAgentName = "WingharbourClient";

// The URL with the bytes a URL cannot carry percent-encoded: controls, blanks,
// bytes from 0x80 (as the UTF-8 of their Windows-1252 character) and
// " < > \ ^ ` { | }. Everything else, "%" included, stays as it is.
std::string EncodeURL(const std::string& url);

// One GET. With RangeStart set, the body is asked for from that byte on, and
// only for the version IfRange names (a strong ETag or a Last-Modified date).
struct THttpRequest {
    std::string Url;
    std::optional<std::uint64_t> RangeStart;
    std::string IfRange;
};

// What the answer whose body counts says about itself.
struct THttpAnswer {
    long Status = 0;
    // The answer's strong ETag, else its Last-Modified; empty when it has neither.
    std::string Validator;
    // Where the body starts in the file, from the Content-Range of a 206.
    std::optional<std::uint64_t> ContentRangeStart;
};

// Where a request delivers its answer. Body runs inside curl's callback, so
// its exception is kept and rethrown once the transfer is taken down.
class THttpReceiver {
public:
    virtual void Body(const char* data, std::size_t size) = 0;
    // Before the first Body: the size the answer announced, -1 when none.
    virtual void BodyLength(std::int64_t /*bytes*/) {}
    // Runs once before the first byte of a body that counts (a 200, or a 206
    // starting where asked), even when that body is empty.
    virtual void Begin(const THttpAnswer&) {}

protected:
    ~THttpReceiver() = default;
};

struct THttpOutcome {
    bool Complete = false; // the whole body of a final 200 answer (or of the 206 asked for) was delivered
    long Status = 0;       // last HTTP status seen, 0 when none came
    std::string Error;     // curl's description when not complete
    bool Began = false;    // the receiver's Begin ran: the answer counted
    std::string Validator; // of the last answer, as in THttpAnswer
    std::optional<std::uint64_t> ContentRangeStart;
};

// The start of a Content-Range value "bytes <first>-<last>/<length or *>";
// nothing when the value is not of that form.
std::optional<std::uint64_t> ContentRangeStart(const std::string& value);

// One GET of request.Url (Windows-1252, encoded here), following redirects
// over http and https only, run by fetch/HttpTransfers beside others. A 206
// counts only when it starts at RangeStart and names no version other than
// IfRange; Range and If-Range are then the only headers added.
class THttpTransfer {
public:
    THttpTransfer(THttpRequest request, THttpReceiver& receiver, const THttpOptions& options);
    ~THttpTransfer();
    THttpTransfer(const THttpTransfer&) = delete;
    THttpTransfer& operator=(const THttpTransfer&) = delete;

    // Null when the request could not be set up; Outcome then says why.
    CURL* Handle() const;
    // The multi handle reported the transfer done with this CURLcode.
    void Finished(int result);
    bool IsFinished() const;
    // Rethrows what the receiver threw. Not complete while unfinished; never
    // throws for network failures.
    THttpOutcome Outcome() const;

private:
    struct TState;
    std::unique_ptr<TState> F;
};

} // namespace wh
