#pragma once

#include <QFrame>

#include "app/ProgressBlock.h"

class QLabel;

namespace wh {

// The lowered panel along the window's bottom edge: the status line at the
// left, the activity indicator (frame and block) anchored to the right end.
class TStatusPanel : public QFrame {
    Q_OBJECT
public:
    explicit TStatusPanel(QWidget* parent = nullptr);

    QLabel* StatusLine() const { return FStatusLine; }
    QFrame* IndicatorFrame() const { return FFrame; }
    QFrame* IndicatorBlock() const { return FBlock; }
    const TProgressBlock& Indicator() const { return FIndicator; }

    void StepIndicator();
    void SetIndicatorVisible(bool visible);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void PlaceChildren();

    TProgressBlock FIndicator;
    QLabel* FStatusLine;
    QFrame* FFrame;
    QFrame* FBlock;
};

} // namespace wh
