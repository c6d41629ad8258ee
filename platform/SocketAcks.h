#pragma once

namespace wh {

// Acknowledges what the socket has received at once instead of after the
// system's delay (about 40 ms). A server that writes an answer's headers and
// body apart and waits for the first acknowledgement before sending more
// (Nagle's algorithm) otherwise stalls every answer on a reused connection.
// Holds only until the system delays again, so it is asked for per answer.
// False when socket is no TCP socket (any more); that changes only timing.
bool AcknowledgeAtOnce(int socket);

} // namespace wh
