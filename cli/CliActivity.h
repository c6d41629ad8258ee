#pragma once

#include <string>

#include "activity/Activity.h"

namespace wh {

class TStatusLines;
class TTerminationRequests;

// The window's log, status line and indicator for a program without one:
// the log's lines and the status texts (as the log shows them, "Status: "
// first) go to standard error; there is no indicator to move and no window
// to keep alive. A termination signal is the window's Close.
class TCliActivity final : public TWHActivity {
public:
    TCliActivity(TStatusLines& lines, const TTerminationRequests& termination, TWHOperationProgress& progress)
        : FLines(lines), FTermination(termination), FProgress(progress) {}

    void LogLine(const std::string& text) override;
    void SetStatus(const std::string& text) override;
    void ShowProgress() override {}
    void HideProgress() override {}
    void StepProgress() override {}
    void ProcessMessages() override {}
    void SetBusyCursor(bool) override {}
    void ClearStatus() override {}
    bool CancelRequested() const override;
    TWHOperationProgress& OperationProgress() override { return FProgress; }

private:
    TStatusLines& FLines;
    const TTerminationRequests& FTermination;
    TWHOperationProgress& FProgress;
};

} // namespace wh
