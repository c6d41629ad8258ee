#include "files/PartialTag.h"

namespace wh {

namespace {

constexpr std::string_view kMark{"\x89resume\x1a", 8};

void PutNumber(std::string& out, std::uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

std::uint64_t GetNumber(std::string_view in, int bytes) {
    std::uint64_t value = 0;
    for (int i = bytes - 1; i >= 0; --i)
        value = (value << 8) | static_cast<unsigned char>(in[static_cast<std::size_t>(i)]);
    return value;
}

// FNV-1a over the tag and both lengths: a torn write shows as a mismatch.
std::uint64_t Check(std::string_view tagAndLengths) {
    std::uint64_t hash = 14695981039346656037ull;
    for (const unsigned char c : tagAndLengths) {
        hash ^= c;
        hash *= 1099511628211ull;
    }
    return hash;
}

} // namespace

std::string EncodePartialTag(std::string_view tag, std::uint64_t bodySize) {
    std::string out(tag);
    PutNumber(out, tag.size(), 4);
    PutNumber(out, bodySize, 8);
    PutNumber(out, Check(out), 8);
    out += kMark;
    return out;
}

std::optional<TPartialTag> DecodePartialTag(std::string_view fileEnd, std::uint64_t fileSize) {
    if (fileEnd.size() < PartialTagFixedSize || fileEnd.size() > fileSize ||
        fileEnd.substr(fileEnd.size() - kMark.size()) != kMark)
        return std::nullopt;
    const std::string_view fixed = fileEnd.substr(fileEnd.size() - PartialTagFixedSize);
    const std::uint64_t length = GetNumber(fixed, 4);
    const std::uint64_t bodySize = GetNumber(fixed.substr(4), 8);
    if (length > PartialTagMaxLength || length + PartialTagFixedSize > fileEnd.size() ||
        bodySize != fileSize - length - PartialTagFixedSize)
        return std::nullopt;
    const std::size_t start = fileEnd.size() - PartialTagFixedSize - static_cast<std::size_t>(length);
    const std::string_view covered = fileEnd.substr(start, static_cast<std::size_t>(length) + 12);
    if (GetNumber(fixed.substr(12), 8) != Check(covered))
        return std::nullopt;
    return TPartialTag{std::string(fileEnd.substr(start, static_cast<std::size_t>(length))), bodySize};
}

} // namespace wh
