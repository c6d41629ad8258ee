#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace wh {

// Limits of one HTTP transfer. The defaults are what the program uses; tests
// pass shorter ones through the DownloadURL overload that takes them.
struct THttpOptions {
    long ConnectTimeoutMs = 30'000;
    // A transfer slower than StallBytesPerSecond for StallSeconds is dropped,
    // so a server that stops sending, or trickles, cannot hold the program forever.
    long StallBytesPerSecond = 1024;
    long StallSeconds = 60;
    // How long one wait for the socket may last before the window gets its
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

// What the transfer loop reports back to its caller. Both calls may throw;
// Body runs inside curl's callback, so its exception is kept and rethrown once
// the transfer has been taken down.
class THttpReceiver {
public:
    virtual void Body(const char* data, std::size_t size) = 0;
    // Before the first Body: the size the answer announced, -1 when none.
    virtual void BodyLength(std::int64_t /*bytes*/) {}
    // Runs in the transfer loop after every wait for the socket.
    virtual void Idle() = 0;
    // Asked after every Idle; true ends the transfer at once.
    virtual bool Cancelled() const { return false; }

protected:
    ~THttpReceiver() = default;
};

struct THttpOutcome {
    bool Complete = false; // the whole body of a final 200 answer was delivered
    bool Cancelled = false; // the receiver asked to stop
    long Status = 0;       // last HTTP status seen, 0 when none came
    std::string Error;     // curl's description when not complete
};

// A plain GET of url (Windows-1252, encoded here), following redirects over
// http and https only. Never throws for network failures; rethrows what the
// receiver threw.
THttpOutcome HttpGet(const std::string& url, THttpReceiver& receiver, const THttpOptions& options);

} // namespace wh
