#include "app/StatusPanel.h"

#include <algorithm>

#include <QApplication>
#include <QLabel>

#include "app/OperationProgressPanel.h"
#include "app/ThemeColours.h"

namespace wh {

namespace {

QRect Shifted(const TRect& r, int dx) { return QRect(r.Left + dx, r.Top, r.Width, r.Height); }

} // namespace

TStatusPanel::TStatusPanel(QWidget* parent)
    : QFrame(parent), FStatusLine(new QLabel(this)), FFrame(new QFrame(this)), FBlock(new QFrame(this)),
      FOperation(new TOperationProgressPanel([this] { PlaceChildren(); }, this)) {
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setFixedHeight(20);
    FStatusLine->setTextFormat(Qt::PlainText);
    FFrame->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    ApplyColours();
    FFrame->hide();
    FBlock->hide();
    FBlock->raise();
    PlaceChildren();
}

void TStatusPanel::ApplyColours() {
    FBlock->setStyleSheet(QStringLiteral("background-color: %1; border: 1px solid %1;")
                              .arg(IndicatorColour(QApplication::palette(this).color(QPalette::Window)).name()));
}

TWHOperationProgress& TStatusPanel::OperationProgress() { return FOperation->Meter(); }
QLabel* TStatusPanel::OperationText() const { return FOperation->TextLabel(); }
QProgressBar* TStatusPanel::OperationBar() const { return FOperation->Bar(); }

void TStatusPanel::StepIndicator() {
    FIndicator.Step();
    PlaceChildren();
}

void TStatusPanel::SetIndicatorVisible(bool visible) {
    FFrame->setVisible(visible);
    FBlock->setVisible(visible);
}

void TStatusPanel::resizeEvent(QResizeEvent* event) {
    QFrame::resizeEvent(event);
    PlaceChildren();
}

// Frame and block keep their distance from the panel's right end, as in a
// panel of the design width.
void TStatusPanel::PlaceChildren() {
    const int dx = width() - TProgressBlock::DesignPanelWidth;
    const QRect frame = Shifted(FIndicator.Frame(), dx);
    FFrame->setGeometry(frame);
    FBlock->setGeometry(Shifted(FIndicator.Block(), dx));
    int lineEnd = frame.left() - 4;
    if (!FOperation->isHidden()) {
        const int width = FOperation->sizeHint().width();
        FOperation->setGeometry(frame.left() - 6 - width, 2, width, height() - 4);
        lineEnd = FOperation->x() - 6;
    }
    FStatusLine->setGeometry(4, 2, std::max(0, lineEnd - 4), height() - 4);
}

} // namespace wh
