#pragma once

#include "cli/ExitStatus.h"

namespace wh {

class TCliSession;
struct TCliOptions;

// remove NAME...: the window's Remove over the rows named, after its
// question unless --yes. A named row that is not installed is told and left.
TExitStatus RunRemove(TCliSession& session, const TCliOptions& options);

} // namespace wh
