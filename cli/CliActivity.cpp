#include "cli/CliActivity.h"

#include "cli/StatusLines.h"
#include "cli/TerminationRequests.h"

namespace wh {

void TCliActivity::LogLine(const std::string& text) { FLines.Line(text); }

void TCliActivity::SetStatus(const std::string& text) {
    if (!text.empty())
        LogLine("Status: " + text);
}

bool TCliActivity::CancelRequested() const { return FTermination.Requested(); }

} // namespace wh
