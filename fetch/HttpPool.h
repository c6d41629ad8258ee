#pragma once

#include <curl/curl.h>

namespace wh {

// The connections, host names and TLS sessions every HTTP transfer of the
// program shares, so consecutive and side-by-side fetches from one server
// reuse kept-alive connections instead of connecting anew. Transfers run on
// the window's thread only, so the share takes no locks. Null when libcurl
// could not make one: transfers then connect each on their own.
CURLSH* HttpPool();

} // namespace wh
