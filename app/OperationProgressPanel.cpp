#include "app/OperationProgressPanel.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QProgressBar>

#include "platform/Codepage.h"

namespace wh {

namespace {

constexpr int BarWidth = 80;

QString Wide(const std::string& ansi) { return QString::fromStdString(AnsiToUtf8(ansi)); }

} // namespace

TOperationProgressPanel::TOperationProgressPanel(std::function<void()> resized, QWidget* parent)
    : QWidget(parent), FResized(std::move(resized)), FText(new QLabel(this)), FBar(new QProgressBar(this)),
      FMeter([this](const TOperationMeter& meter) { Draw(meter); }, &std::chrono::steady_clock::now,
             Utf8ToAnsi(QLocale().decimalPoint().toStdString())) {
    FText->setTextFormat(Qt::PlainText);
    FText->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    FBar->setRange(0, TOperationMeter::BarMaximum);
    FBar->setTextVisible(false);
    FBar->setFixedWidth(BarWidth);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(6);
    layout->addWidget(FText);
    layout->addWidget(FBar);
    hide();
}

// The text takes only the room it needs, so the status line beside it keeps
// the rest; the bar stays where it is, by the indicator.
void TOperationProgressPanel::Draw(const TOperationMeter& meter) {
    const int width = sizeHint().width();
    FText->setText(Wide(meter.Text()));
    FBar->setValue(meter.Bar());
    const bool shownOrHidden = meter.Running() == isHidden();
    if (shownOrHidden)
        setVisible(meter.Running());
    if ((shownOrHidden || sizeHint().width() != width) && FResized)
        FResized();
}

} // namespace wh
