#pragma once

#include "cli/ExitStatus.h"

namespace wh {

class TCliSession;
struct TCliOptions;

// list: the rows the filter shows in display order, on standard output; the
// state options pick among them, each adding its rows as the selection
// buttons do.
TExitStatus RunList(TCliSession& session, const TCliOptions& options);

} // namespace wh
