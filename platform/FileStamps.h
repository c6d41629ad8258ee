#pragma once

#include <cstdint>
#include <ctime>

namespace wh {

// Whether an unchanged stat of a file or folder proves that what was read
// from it is still current.

std::int64_t Nanoseconds(const std::timespec& t);
// The real-time clock that file stamps are taken from, in nanoseconds.
std::int64_t NowNs();

// File stamps come from the coarse real-time clock: a change made after a
// read gets a newer stamp once one coarse tick has passed since the stamp
// seen. Until then a same-size change may leave every stamp as it was.
std::int64_t RacyWindowNs(std::int64_t modifiedNs);

// True when content read at readAtNs, from an entry whose last change is
// stamped modifiedNs, is vouched for by stamps that have not changed since.
inline bool StampsVouchFor(std::int64_t modifiedNs, std::int64_t readAtNs) {
    return modifiedNs + RacyWindowNs(modifiedNs) <= readAtNs;
}

} // namespace wh
