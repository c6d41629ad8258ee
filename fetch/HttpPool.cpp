#include "fetch/HttpPool.h"

#include <curl/curl.h>

#include <algorithm>
#include <initializer_list>
#include <vector>

#include "platform/SocketAcks.h"

namespace wh {

namespace {

class TSharedConnections {
public:
    TSharedConnections() {
        curl_global_init(CURL_GLOBAL_DEFAULT);
        FShare = curl_share_init();
        if (!FShare)
            return;
        for (const curl_lock_data data : {CURL_LOCK_DATA_CONNECT, CURL_LOCK_DATA_DNS, CURL_LOCK_DATA_SSL_SESSION}) {
            if (curl_share_setopt(FShare, CURLSHOPT_SHARE, data) != CURLSHE_OK) {
                curl_share_cleanup(FShare);
                FShare = nullptr;
                return;
            }
        }
    }
    // Runs at exit, when no transfer holds the share any more; it closes the
    // kept connections.
    ~TSharedConnections() {
        if (FShare)
            curl_share_cleanup(FShare);
    }
    TSharedConnections(const TSharedConnections&) = delete;
    TSharedConnections& operator=(const TSharedConnections&) = delete;

    CURLSH* Share() const { return FShare; }

private:
    CURLSH* FShare = nullptr;
};

} // namespace

CURLSH* HttpPool() {
    static TSharedConnections pool;
    return pool.Share();
}

namespace {

std::vector<int>& Connections() {
    static std::vector<int> sockets;
    return sockets;
}

} // namespace

void NoteHttpConnection(int socket) {
    auto& sockets = Connections();
    if (std::find(sockets.begin(), sockets.end(), socket) == sockets.end())
        sockets.push_back(socket);
}

void AcknowledgeHttpConnections() {
    auto& sockets = Connections();
    std::erase_if(sockets, [](int socket) { return !AcknowledgeAtOnce(socket); });
}

} // namespace wh
