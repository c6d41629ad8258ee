#pragma once

#include <curl/curl.h>

namespace wh {

// The connections, host names and TLS sessions every HTTP transfer of the
// program shares, so consecutive and side-by-side fetches from one server
// reuse kept-alive connections instead of connecting anew. Transfers run on
// the window's thread only, so the share takes no locks. Null when libcurl
// could not make one: transfers then connect each on their own.
CURLSH* HttpPool();

// The pool's connections by socket, so that the end of any answer's headers
// can acknowledge on each at once (platform/SocketAcks.h): libcurl names a
// transfer's socket only after it ended. A socket that closed meanwhile
// drops out at the next acknowledgement.
void NoteHttpConnection(int socket);
void AcknowledgeHttpConnections();

} // namespace wh
