#include "install/OperationMeter.h"

#include <algorithm>
#include <cmath>

#include "catalogue/SizeUnits.h"

namespace wh {

namespace {

int Decimals(TSizeUnit unit) { return unit == TSizeUnit::KB ? 0 : 1; }

} // namespace

TOperationMeter::TOperationMeter(std::function<void(const TOperationMeter&)> show, TClock clock,
                                 std::string decimalPoint)
    : FShow(std::move(show)), FClock(std::move(clock)), FDecimalPoint(std::move(decimalPoint)) {}

void TOperationMeter::OperationBegun(int rows) {
    FRunning = true;
    FRows = rows;
    FRow = 0;
    FDownloading = false;
    FLiveryNext = false;
    FExpected = -1;
    FRowPart = 0;
    Show();
}

void TOperationMeter::RowBegun(int number) {
    FRow = number;
    FLiveryNext = false;
    FExpected = -1;
    FRowPart = 0;
    Show();
}

void TOperationMeter::LiveryArchiveNext(std::int64_t catalogueSize) {
    FLiveryNext = true;
    FExpected = catalogueSize;
}

void TOperationMeter::DownloadBegun() {
    FDownloading = true;
    FLiveryDownload = FLiveryNext;
    FLiveryNext = false;
    FLength = -1;
    FReceived = 0;
    FRate.Reset();
    FRate.Add(FClock(), 0);
    if (FRunning)
        Show();
}

void TOperationMeter::BytesReceived(std::uint64_t received, std::int64_t length) {
    const TTransferRate::TTime now = FClock();
    FReceived = received;
    FLength = length;
    FRate.Add(now, received);
    const std::int64_t size = DownloadSize();
    if (FLiveryDownload && size > 0)
        FRowPart = std::max(FRowPart, std::min(1.0, static_cast<double>(received) / static_cast<double>(size)));
    if (FRunning && now - FShownAt >= RefreshInterval)
        Show();
}

void TOperationMeter::DownloadEnded() {
    FDownloading = false;
    FLiveryDownload = false;
    FExpected = -1;
    if (FRunning)
        Show();
}

void TOperationMeter::OperationEnded() {
    FRunning = false;
    FDownloading = false;
    Show();
}

// The server's word first: the catalogue's size may be out of date.
std::int64_t TOperationMeter::DownloadSize() const {
    if (FLength >= 0)
        return FLength;
    return FLiveryDownload ? FExpected : -1;
}

std::string TOperationMeter::Text() const {
    if (!Running())
        return {};
    std::string text = std::to_string(FRow) + " of " + std::to_string(FRows);
    if (FDownloading)
        text += PartSeparator + TransferText();
    return text;
}

std::string TOperationMeter::TransferText() const {
    if (!Running() || !FDownloading)
        return {};
    const std::int64_t size = DownloadSize();
    const TSizeUnit unit = SizeUnitFor(size >= 0 ? static_cast<std::uint64_t>(size) : FReceived);
    std::string text = SizeNumber(FReceived, unit, Decimals(unit), FDecimalPoint);
    if (size >= 0)
        text += " of " + SizeNumber(static_cast<std::uint64_t>(size), unit, Decimals(unit), FDecimalPoint);
    text += std::string(" ") + SizeUnitName(unit);
    if (const auto rate = FRate.BytesPerSecond()) {
        const auto perSecond = static_cast<std::uint64_t>(std::llround(*rate));
        const TSizeUnit rateUnit = SizeUnitFor(perSecond);
        text += PartSeparator + SizeNumber(perSecond, rateUnit, Decimals(rateUnit), FDecimalPoint) + " " +
                SizeUnitName(rateUnit) + "/s";
    }
    return text;
}

int TOperationMeter::Bar() const {
    if (!Running())
        return 0;
    const double done = std::max(0, FRow - 1) + FRowPart;
    return std::clamp(static_cast<int>(done * BarMaximum / FRows), 0, BarMaximum);
}

void TOperationMeter::Show() {
    FShownAt = FClock();
    if (FShow)
        FShow(*this);
}

} // namespace wh
