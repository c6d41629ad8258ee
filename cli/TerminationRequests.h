#pragma once

namespace wh {

// Ctrl+C, SIGTERM and SIGHUP as a request to stop, asked for between the
// steps of the work, as the window's Close is: a download gives up, the
// livery in hand ends cleanly, no later one begins.
class TTerminationRequests {
public:
    TTerminationRequests();
    ~TTerminationRequests();
    TTerminationRequests(const TTerminationRequests&) = delete;
    TTerminationRequests& operator=(const TTerminationRequests&) = delete;

    // Once true, true for good.
    bool Requested() const;

    // While it lives the signals end the program at once, as at any prompt:
    // nothing has been changed while a question waits.
    class TDefaultAction {
    public:
        explicit TDefaultAction(TTerminationRequests& requests);
        ~TDefaultAction();
        TDefaultAction(const TDefaultAction&) = delete;
        TDefaultAction& operator=(const TDefaultAction&) = delete;

    private:
        TTerminationRequests& FRequests;
    };

private:
    bool FInstalled = false;
    mutable bool FRequested = false;
};

} // namespace wh
