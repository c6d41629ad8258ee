#pragma once

#include <chrono>
#include <cstdint>
#include <deque>
#include <optional>

namespace wh {

// The speed of one download over its last few seconds, from the running
// count of bytes received, so that a burst or a stall shows soon and then
// fades out of the figure.
class TTransferRate {
public:
    using TTime = std::chrono::steady_clock::time_point;
    static constexpr std::chrono::milliseconds Window{3000};
    // Less time than this says nothing yet about a speed.
    static constexpr std::chrono::milliseconds MinimumSpan{500};
    // Samples closer together than this replace each other.
    static constexpr std::chrono::milliseconds SampleSpacing{100};

    void Reset() { FSamples.clear(); }
    // received counts from the download's start.
    void Add(TTime now, std::uint64_t received);
    // Bytes per second over the window, none before MinimumSpan has passed.
    std::optional<double> BytesPerSecond() const;

private:
    struct TSample {
        TTime Time;
        std::uint64_t Received;
    };
    std::deque<TSample> FSamples;
};

} // namespace wh
