#include "platform/SocketAcks.h"

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>

namespace wh {

bool AcknowledgeAtOnce(int socket) {
#ifdef TCP_QUICKACK
    const int on = 1;
    return ::setsockopt(socket, IPPROTO_TCP, TCP_QUICKACK, &on, sizeof on) == 0;
#else
    (void)socket;
    return false;
#endif
}

} // namespace wh
