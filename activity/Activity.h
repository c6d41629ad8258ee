#pragma once

#include <string>

#include "activity/OperationProgress.h"

namespace wh {

// The window's log, status line and activity indicator, as the core sees them.
// The calls process the window's pending messages (the window may pace them
// by time), so long work keeps the window alive. Tests implement it with a
// recording object.
class TWHActivity {
public:
    virtual void LogLine(const std::string& text) = 0;
    virtual void SetStatus(const std::string& text) = 0;
    virtual void ShowProgress() = 0;
    // Hides the indicator; an operation over many rows does so when it is done.
    virtual void HideProgress() = 0;
    virtual void StepProgress() = 0;
    // One step without processing messages, for a caller that processes them
    // on its own schedule (a download steps per 1024 bytes, pumps by time).
    virtual void MoveProgress() { StepProgress(); }
    // Processes pending messages without moving the indicator (a waiting download).
    virtual void ProcessMessages() = 0;
    // The hourglass cursor while a download runs.
    virtual void SetBusyCursor(bool busy) = 0;
    // Empties the status line; nothing is logged and the indicator stays.
    virtual void ClearStatus() = 0;
    // True once the user asked to close the program: a running download stops.
    virtual bool CancelRequested() const { return false; }
    // Where a long install or deinstall reports how far it has come.
    virtual TWHOperationProgress& OperationProgress() { return NoOperationProgress(); }

protected:
    ~TWHActivity() = default;
};

// The hourglass for as long as it lives, whichever way the work ends.
class TBusyCursor {
public:
    explicit TBusyCursor(TWHActivity& activity) : FActivity(activity) { FActivity.SetBusyCursor(true); }
    ~TBusyCursor() { FActivity.SetBusyCursor(false); }
    TBusyCursor(const TBusyCursor&) = delete;
    TBusyCursor& operator=(const TBusyCursor&) = delete;

private:
    TWHActivity& FActivity;
};

} // namespace wh
