#pragma once

#include "cli/ExitStatus.h"

namespace wh {

class TCliSession;
struct TCliOptions;

// install NAME..., install --new: the window's Fetch over the rows named, or
// over every new row. A named row with nothing to fetch is told and left.
// When the archives will not fit, the window's question is asked on the
// terminal unless --yes answers it.
TExitStatus RunInstall(TCliSession& session, const TCliOptions& options);

// update: Fetch over every installed row the collection has updated.
TExitStatus RunUpdate(TCliSession& session, const TCliOptions& options);

} // namespace wh
