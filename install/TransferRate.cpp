#include "install/TransferRate.h"

namespace wh {

void TTransferRate::Add(TTime now, std::uint64_t received) {
    // A count that went back belongs to a download that started again.
    if (!FSamples.empty() && (received < FSamples.back().Received || now < FSamples.back().Time))
        FSamples.clear();
    if (FSamples.size() >= 2 && now - FSamples[FSamples.size() - 2].Time < SampleSpacing)
        FSamples.back() = {now, received};
    else
        FSamples.push_back({now, received});
    // Keep one sample at or before the window's start, so the window is full.
    while (FSamples.size() > 2 && FSamples[1].Time <= now - Window)
        FSamples.pop_front();
}

std::optional<double> TTransferRate::BytesPerSecond() const {
    if (FSamples.size() < 2)
        return std::nullopt;
    const auto span = FSamples.back().Time - FSamples.front().Time;
    if (span < MinimumSpan)
        return std::nullopt;
    const double seconds = std::chrono::duration<double>(span).count();
    return static_cast<double>(FSamples.back().Received - FSamples.front().Received) / seconds;
}

} // namespace wh
