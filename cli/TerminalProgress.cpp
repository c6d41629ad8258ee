#include "cli/TerminalProgress.h"

#include <chrono>

#include "cli/StatusLines.h"

namespace wh {

TTerminalProgress::TTerminalProgress(TStatusLines& lines, std::string decimalPoint)
    : FLines(lines), FMeter([this](const TOperationMeter& meter) { Draw(meter); }, &std::chrono::steady_clock::now,
                            std::move(decimalPoint)) {}

void TTerminalProgress::Draw(const TOperationMeter& meter) {
    if (!meter.Running() || meter.Row() == 0) {
        FLines.EndProgress();
        FDrawnRow = 0;
        return;
    }
    const bool rowBegun = meter.Row() != FDrawnRow;
    if (rowBegun)
        FLines.EndProgress();
    FDrawnRow = meter.Row();
    if (!rowBegun && !FLines.Terminal())
        return;
    std::string text = std::to_string(meter.Row()) + " of " + std::to_string(meter.Rows());
    if (meter.Row() <= static_cast<int>(FLiveries.size()))
        text += TOperationMeter::PartSeparator + FLiveries[meter.Row() - 1];
    if (const std::string transfer = meter.TransferText(); !transfer.empty())
        text += TOperationMeter::PartSeparator + transfer;
    FLines.Progress(text);
}

} // namespace wh
