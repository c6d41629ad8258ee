#pragma once

#include "cli/ExitStatus.h"

namespace wh {

class TCliSession;
struct TCliOptions;

// install NAME..., install --new: the window's Fetch over the rows named, or
// over every new row. A named row with nothing to fetch is told and left.
TExitStatus RunInstall(TCliSession& session, const TCliOptions& options);

// update: Fetch over every installed row the collection has updated.
TExitStatus RunUpdate(TCliSession& session);

} // namespace wh
