#include "app/TerminationSignals.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

#include <QSocketNotifier>

namespace wh {

namespace {

int WakePipe[2] = {-1, -1};

extern "C" void OnTerminationSignal(int) {
    const int saved = errno;
    const char byte = 1;
    // A full pipe already holds a pending request.
    [[maybe_unused]] const ssize_t n = ::write(WakePipe[1], &byte, 1);
    errno = saved;
}

} // namespace

const int TTerminationSignals::Signals[3] = {SIGTERM, SIGINT, SIGHUP};

TTerminationSignals::TTerminationSignals(std::function<void()> onRequest, QObject* parent)
    : QObject(parent), FOnRequest(std::move(onRequest)) {
    if (WakePipe[0] >= 0 || ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, WakePipe) != 0)
        return;   // without the pipe the signals keep their default action
    FNotifier = new QSocketNotifier(WakePipe[0], QSocketNotifier::Read, this);
    connect(FNotifier, &QSocketNotifier::activated, this, &TTerminationSignals::Drain);
    struct sigaction action {};
    action.sa_handler = OnTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : Signals)
        ::sigaction(signal, &action, nullptr);
}

TTerminationSignals::~TTerminationSignals() {
    if (!FNotifier)
        return;
    struct sigaction action {};
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    for (int signal : Signals)
        ::sigaction(signal, &action, nullptr);
    delete FNotifier;
    ::close(WakePipe[0]);
    ::close(WakePipe[1]);
    WakePipe[0] = WakePipe[1] = -1;
}

void TTerminationSignals::Drain() {
    char buffer[64];
    while (::read(WakePipe[0], buffer, sizeof buffer) > 0) {
    }
    FOnRequest();
}

} // namespace wh
