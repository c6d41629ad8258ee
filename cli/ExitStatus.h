#pragma once

namespace wh {

// How the program ends, for the scripts that run it.
enum TExitStatus : int {
    ExitDone = 0,   // everything asked for was done; nothing to do counts as done
    ExitFailed = 1, // an operation failed or was cancelled, or another copy runs
    ExitUsage = 2,  // the command line (or the settings it leaves) cannot be followed
};

} // namespace wh
