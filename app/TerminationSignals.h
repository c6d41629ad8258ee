#pragma once

#include <functional>

#include <QObject>

class QSocketNotifier;

namespace wh {

// A polite request to end (SIGTERM at logout, SIGINT from the terminal,
// SIGHUP) closes the window as the Close button does, so the settings are
// still written. The signal handler only wakes the event loop; the closing
// itself runs there.
class TTerminationSignals : public QObject {
public:
    explicit TTerminationSignals(std::function<void()> onRequest, QObject* parent = nullptr);
    ~TTerminationSignals() override;
    TTerminationSignals(const TTerminationSignals&) = delete;
    TTerminationSignals& operator=(const TTerminationSignals&) = delete;

private:
    void Drain();

    std::function<void()> FOnRequest;
    QSocketNotifier* FNotifier = nullptr;
};

} // namespace wh
