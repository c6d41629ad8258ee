#pragma once

#include <cstddef>
#include <ctime>
#include <functional>
#include <optional>
#include <vector>

#include "activity/PumpPacer.h"
#include "fetch/HttpRequest.h"
#include "fetch/HttpTransfers.h"

namespace wh {

class TWHActivity;
class TFileDownload;

// Runs file downloads side by side on the window's thread over the shared
// connections, and keeps the window alive while it waits for one of them.
// A single download is the driver with one. Downloads must outlive it.
class TDownloadDriver {
public:
    // refill, when given, runs whenever transfers have moved, so its owner
    // can start the next ones as soon as a connection is free.
    TDownloadDriver(TWHActivity& activity, const THttpOptions& options, std::function<void()> refill = {});

    void Add(TFileDownload& download);
    std::size_t Running() const { return FTransfers.Running(); }

    // The download's turn: the indicator shows, the hourglass, and every
    // transfer runs until this one is over; the indicator moves per block,
    // messages are processed by time. True with the file in its place. A
    // close asked for meanwhile (TWHActivity::CancelRequested) stops it,
    // logs it and raises EOperationCancelled; the cached copy stays.
    bool Complete(TFileDownload& download, std::optional<std::time_t> modified = std::nullopt);
    // Moves the transfers along without waiting, for an owner busy with
    // other work between turns.
    void Drive();

private:
    void Round();
    void Forget(TFileDownload& download);

    TWHActivity& FActivity;
    int FPollMs;
    std::function<void()> FRefill;
    THttpTransfers FTransfers;
    std::vector<TFileDownload*> FDownloads; // added and not yet concluded
    TPumpPacer FPumps;
};

} // namespace wh
