#pragma once

#include <functional>

#include <QWidget>

#include "install/OperationMeter.h"

class QLabel;
class QProgressBar;

namespace wh {

// The progress of an install or deinstall in the status panel: a short text
// and a bar, shown only while one runs. The core reports to Meter().
class TOperationProgressPanel : public QWidget {
    Q_OBJECT
public:
    // resized lets the status panel make room for it when it shows, hides or
    // its text needs another width.
    TOperationProgressPanel(std::function<void()> resized, QWidget* parent = nullptr);

    TWHOperationProgress& Meter() { return FMeter; }
    QLabel* TextLabel() const { return FText; }
    QProgressBar* Bar() const { return FBar; }

private:
    void Draw(const TOperationMeter& meter);

    std::function<void()> FResized;
    QLabel* FText;
    QProgressBar* FBar;
    TOperationMeter FMeter;
};

} // namespace wh
