#include "platform/TerminationWake.h"

#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

namespace wh {

namespace {

constexpr int TerminationSignalNumbers[] = {SIGTERM, SIGINT, SIGHUP};
int WakePipe[2] = {-1, -1};

extern "C" void OnTerminationSignal(int) {
    const int saved = errno;
    const char byte = 1;
    // A full pipe already holds a pending request.
    [[maybe_unused]] const ssize_t n = ::write(WakePipe[1], &byte, 1);
    errno = saved;
}

} // namespace

int InstallTerminationWake() {
    if (WakePipe[0] >= 0 || ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, WakePipe) != 0)
        return -1;
    struct sigaction action {};
    action.sa_handler = OnTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : TerminationSignalNumbers)
        ::sigaction(signal, &action, nullptr);
    return WakePipe[0];
}

bool DrainTerminationWake() {
    char buffer[64];
    bool woken = false;
    while (::read(WakePipe[0], buffer, sizeof buffer) > 0)
        woken = true;
    return woken;
}

void RemoveTerminationWake() {
    struct sigaction action {};
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    for (int signal : TerminationSignalNumbers)
        ::sigaction(signal, &action, nullptr);
    ::close(WakePipe[0]);
    ::close(WakePipe[1]);
    WakePipe[0] = WakePipe[1] = -1;
}

} // namespace wh
