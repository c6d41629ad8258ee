#pragma once

#include <QFrame>

#include "app/ProgressBlock.h"

class QLabel;
class QProgressBar;

namespace wh {

class TOperationProgressPanel;
class TWHOperationProgress;

// The lowered panel along the window's bottom edge: the status line at the
// left, the activity indicator (frame and block) anchored to the right end,
// and between them, while an install or deinstall runs, its progress.
class TStatusPanel : public QFrame {
    Q_OBJECT
public:
    explicit TStatusPanel(QWidget* parent = nullptr);

    QLabel* StatusLine() const { return FStatusLine; }
    QFrame* IndicatorFrame() const { return FFrame; }
    QFrame* IndicatorBlock() const { return FBlock; }
    TWHOperationProgress& OperationProgress();
    QLabel* OperationText() const;
    QProgressBar* OperationBar() const;

    void StepIndicator();
    // The block's blue from the desktop's background, again when the desktop's colours change.
    void ApplyColours();
    void SetIndicatorVisible(bool visible);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void PlaceChildren();

    TProgressBlock FIndicator;
    QLabel* FStatusLine;
    QFrame* FFrame;
    QFrame* FBlock;
    TOperationProgressPanel* FOperation;
};

} // namespace wh
