#include "cli/TerminationRequests.h"

#include "platform/TerminationWake.h"

namespace wh {

TTerminationRequests::TTerminationRequests() : FInstalled(InstallTerminationWake() >= 0) {}

TTerminationRequests::~TTerminationRequests() {
    if (FInstalled)
        RemoveTerminationWake();
}

bool TTerminationRequests::Requested() const {
    if (!FRequested && FInstalled)
        FRequested = DrainTerminationWake();
    return FRequested;
}

TTerminationRequests::TDefaultAction::TDefaultAction(TTerminationRequests& requests) : FRequests(requests) {
    if (FRequests.FInstalled)
        RemoveTerminationWake();
}

TTerminationRequests::TDefaultAction::~TDefaultAction() {
    if (FRequests.FInstalled)
        FRequests.FInstalled = InstallTerminationWake() >= 0;
}

} // namespace wh
