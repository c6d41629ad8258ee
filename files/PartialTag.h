#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace wh {

// A broken download keeps, at the end of its unfinished file, the tag of the
// version it holds and how many of its bytes are body. The tag travels in the
// same file and the same writes as the body it describes, so the two cannot
// disagree after a kill, and no second file is left per target.
//
// Layout: tag, tag length (4 bytes), body size (8), check (8), mark (8);
// numbers little-endian, the check covering tag and both lengths. A file
// whose end does not decode is not continued.

inline constexpr std::size_t PartialTagMaxLength = 1024;
// Fixed bytes after the tag.
inline constexpr std::size_t PartialTagFixedSize = 28;
// The most of a file's end that decoding needs.
inline constexpr std::size_t PartialTagMaxSize = PartialTagMaxLength + PartialTagFixedSize;

struct TPartialTag {
    std::string Tag;
    std::uint64_t BodySize = 0;
};

// The bytes to write after bodySize bytes of body; tag at most PartialTagMaxLength.
std::string EncodePartialTag(std::string_view tag, std::uint64_t bodySize);

// Reads the tag from the last bytes of a file of fileSize bytes (fileEnd:
// up to PartialTagMaxSize of them). Nothing when they hold no whole tag
// that accounts for the file's size.
std::optional<TPartialTag> DecodePartialTag(std::string_view fileEnd, std::uint64_t fileSize);

} // namespace wh
