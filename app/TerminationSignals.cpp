#include "app/TerminationSignals.h"

#include <QSocketNotifier>

#include "platform/TerminationWake.h"

namespace wh {

TTerminationSignals::TTerminationSignals(std::function<void()> onRequest, QObject* parent)
    : QObject(parent), FOnRequest(std::move(onRequest)) {
    const int wake = InstallTerminationWake();
    if (wake < 0)
        return; // without the pipe the signals keep their default action
    FNotifier = new QSocketNotifier(wake, QSocketNotifier::Read, this);
    connect(FNotifier, &QSocketNotifier::activated, this, &TTerminationSignals::Drain);
}

TTerminationSignals::~TTerminationSignals() {
    if (!FNotifier)
        return;
    delete FNotifier;
    RemoveTerminationWake();
}

void TTerminationSignals::Drain() {
    DrainTerminationWake();
    FOnRequest();
}

} // namespace wh
