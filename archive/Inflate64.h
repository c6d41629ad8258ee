#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

namespace wh {

// Fills buffer with up to size compressed bytes and returns how many; 0 ends the input.
using TInflateSource = std::function<std::size_t(std::uint8_t* buffer, std::size_t size)>;
// Takes the next piece of the output, in order.
using TInflateSink = std::function<void(const std::uint8_t* data, std::size_t size)>;

enum class TInflateResult { Done, Damaged };

// Decodes a Deflate64 stream (the zip format's method 9): deflate with a
// 64 KiB window, length code 285 for 3 plus 16 extra bits and the distance
// codes 30 and 31. Output goes to sink in pieces of at most 192 KiB, so an
// entry of any size is never held whole. Stops after the final block;
// Damaged when the input breaks the format, ends before the final block or
// would give more than limit bytes. What source and sink raise passes through.
TInflateResult Inflate64(const TInflateSource& source, const TInflateSink& sink, std::uint64_t limit);

} // namespace wh
