#pragma once

namespace wh {

// Turns the polite requests to end (SIGTERM at logout, SIGINT from the
// terminal, SIGHUP) into a byte on a socket that an event loop watches:
// the handler only wakes the loop, whatever it interrupted. One at a time.
// The socket to watch, or -1 (the signals keep their default action) when
// none can be made or one is installed already.
int InstallTerminationWake();
// Reads away the pending wake-ups; true when there was one.
bool DrainTerminationWake();
// Gives the signals their default action back and closes the socket.
void RemoveTerminationWake();

} // namespace wh
