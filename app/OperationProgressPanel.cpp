#include "app/OperationProgressPanel.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QProgressBar>

#include "platform/Codepage.h"

namespace wh {

namespace {

constexpr int BarWidth = 80;
// Wide enough for the longest usual text, so the bar does not move as it changes.
const char* const WidestText = "88 of 888 \xB7 888.8 of 888.8 MB \xB7 888.8 KB/s";

QString Wide(const std::string& ansi) { return QString::fromStdString(AnsiToUtf8(ansi)); }

} // namespace

TOperationProgressPanel::TOperationProgressPanel(std::function<void()> shownOrHidden, QWidget* parent)
    : QWidget(parent), FShownOrHidden(std::move(shownOrHidden)), FText(new QLabel(this)), FBar(new QProgressBar(this)),
      FMeter([this](const TOperationMeter& meter) { Draw(meter); }, &std::chrono::steady_clock::now,
             Utf8ToAnsi(QLocale().decimalPoint().toStdString())) {
    FText->setTextFormat(Qt::PlainText);
    FText->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    FText->setFixedWidth(FText->fontMetrics().horizontalAdvance(Wide(WidestText)) + 4);
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

void TOperationProgressPanel::Draw(const TOperationMeter& meter) {
    FText->setText(Wide(meter.Text()));
    FBar->setValue(meter.Bar());
    if (meter.Running() == isHidden()) {
        setVisible(meter.Running());
        if (FShownOrHidden)
            FShownOrHidden();
    }
}

} // namespace wh
