#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>

#include "activity/OperationProgress.h"
#include "install/TransferRate.h"

namespace wh {

// Turns what an install or deinstall reports into a short text and a bar,
// "3 of 12 · 45.2 of 200.0 MB · 12.3 MB/s": the row in hand of all rows; the
// current download's bytes, of its size when the server or (for a livery
// archive) the catalogue gives one; its speed over the last seconds. The bar
// stands for the rows done plus the part of the row's livery archive that has
// arrived, so it never goes back. show is called when the text
// or the bar should be drawn anew: at once when the operation, its row or
// its download begins or ends, at most every RefreshInterval for bytes, so
// that a fast download is not slowed by drawing.
class TOperationMeter : public TWHOperationProgress {
public:
    using TClock = std::function<TTransferRate::TTime()>;
    static constexpr std::chrono::milliseconds RefreshInterval{250};
    static constexpr int BarMaximum = 1000;
    static constexpr const char* PartSeparator = " \xB7 "; // a middle dot in Windows-1252

    explicit TOperationMeter(std::function<void(const TOperationMeter&)> show,
                             TClock clock = &std::chrono::steady_clock::now, std::string decimalPoint = ".");

    void OperationBegun(int rows) override;
    void RowBegun(int number) override;
    void LiveryArchiveNext(std::int64_t catalogueSize) override;
    void DownloadBegun() override;
    void BytesReceived(std::uint64_t received, std::int64_t length) override;
    void DownloadEnded() override;
    void OperationEnded() override;

    // An operation over at least one row runs: text and bar are to be shown.
    bool Running() const { return FRunning && FRows > 0; }
    // Windows-1252, the parts joined by " · "; empty when not running.
    std::string Text() const;
    // The row in hand (from 1) and the rows of the walk.
    int Row() const { return FRow; }
    int Rows() const { return FRows; }
    // The download's part of Text(): "45.2 of 200.0 MB · 12.3 MB/s"; empty
    // while no download runs.
    std::string TransferText() const;
    // 0 to BarMaximum.
    int Bar() const;

private:
    void Show();
    std::int64_t DownloadSize() const;

    std::function<void(const TOperationMeter&)> FShow;
    TClock FClock;
    std::string FDecimalPoint;
    TTransferRate FRate;
    TTransferRate::TTime FShownAt{};
    bool FRunning = false;
    int FRows = 0;
    int FRow = 0;
    bool FDownloading = false;
    bool FLiveryNext = false;
    bool FLiveryDownload = false;
    std::int64_t FExpected = -1;
    std::int64_t FLength = -1;
    std::uint64_t FReceived = 0;
    double FRowPart = 0; // of the row in hand: its livery archive's part
};

} // namespace wh
