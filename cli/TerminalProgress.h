#pragma once

#include <string>
#include <vector>

#include "activity/OperationProgress.h"
#include "install/OperationMeter.h"

namespace wh {

class TStatusLines;

// An install's or removal's progress on standard error, one line per livery:
// "2 of 5 · Bluefen Airlines · 12.4 of 30.0 MB · 3.1 MB/s". On a terminal the
// line follows the download in place; otherwise it is written once, as the
// livery begins.
class TTerminalProgress final : public TWHOperationProgress {
public:
    TTerminalProgress(TStatusLines& lines, std::string decimalPoint);

    // The Livery text of each row the next walk handles, in its order.
    void SetLiveries(std::vector<std::string> liveries) { FLiveries = std::move(liveries); }

    void OperationBegun(int rows) override { FMeter.OperationBegun(rows); }
    void RowBegun(int number) override { FMeter.RowBegun(number); }
    void LiveryArchiveNext(std::int64_t catalogueSize) override { FMeter.LiveryArchiveNext(catalogueSize); }
    void DownloadBegun() override { FMeter.DownloadBegun(); }
    void BytesReceived(std::uint64_t received, std::int64_t length) override { FMeter.BytesReceived(received, length); }
    void DownloadEnded() override { FMeter.DownloadEnded(); }
    void OperationEnded() override { FMeter.OperationEnded(); }

private:
    void Draw(const TOperationMeter& meter);

    TStatusLines& FLines;
    std::vector<std::string> FLiveries;
    int FDrawnRow = 0;
    TOperationMeter FMeter;
};

} // namespace wh
