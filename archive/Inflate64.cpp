#include "archive/Inflate64.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <utility>

namespace wh {

namespace {

constexpr std::size_t kWindow = 64 * 1024;
constexpr std::size_t kChunk = 128 * 1024; // new output collected between two calls of the sink
constexpr std::size_t kInputSize = 32 * 1024;
constexpr std::size_t kLongestMatch = 3 + 65535;
static_assert(kChunk >= kLongestMatch, "a match must fit beside the window");
constexpr unsigned kMaxBits = 15;  // longest Huffman code
constexpr unsigned kFastBits = 10; // codes up to this long are found with one look-up
constexpr unsigned kLiteralCodes = 288;
constexpr unsigned kDistanceCodes = 32;

// Lengths of the codes 257..284 as in deflate; 285 is where Deflate64 differs.
constexpr std::array<std::uint16_t, 29> kLengthBase = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                                       31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 3};
constexpr std::array<std::uint8_t, 29> kLengthExtra = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                                       2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 16};
constexpr std::array<std::uint16_t, kDistanceCodes> kDistanceBase = {
    1,   2,   3,   4,   5,    7,    9,    13,   17,   25,   33,   49,    65,    97,    129,   193,
    257, 385, 513, 769, 1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577, 32769, 49153};
constexpr std::array<std::uint8_t, kDistanceCodes> kDistanceExtra = {
    0, 0, 0, 0, 1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6, 6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13, 14, 14};
constexpr std::array<std::uint8_t, 19> kCodeLengthOrder = {16, 17, 18, 0, 8,  7, 9,  6, 10, 5,
                                                           11, 4,  12, 3, 13, 2, 14, 1, 15};

// Never leaves this file: Inflate64 turns it into its result.
struct TDamaged {};

// A canonical Huffman code: a table for the short codes, and the counts and
// sorted symbols that decode the long ones bit by bit.
struct THuffman {
    std::array<std::uint16_t, 1u << kFastBits> Fast{}; // length << 9 | symbol; 0: not a short code
    std::array<std::uint16_t, kMaxBits + 1> Count{};
    std::array<std::uint16_t, kLiteralCodes> Symbol{};

    // False for lengths that give no prefix code. An incomplete code is
    // accepted only when it has a single code of one bit or none (a block
    // without distances), as zlib accepts them; using a missing code fails.
    bool Build(const std::uint8_t* lengths, unsigned count, bool singleAllowed) {
        Fast.fill(0);
        Count.fill(0);
        for (unsigned s = 0; s < count; ++s)
            ++Count[lengths[s]];
        Count[0] = 0;
        int left = 1;
        unsigned longest = 0;
        for (unsigned len = 1; len <= kMaxBits; ++len) {
            left = left * 2 - Count[len];
            if (left < 0)
                return false;
            if (Count[len] != 0)
                longest = len;
        }
        if (left > 0 && longest != 0 && !(singleAllowed && longest == 1))
            return false;
        std::array<std::uint16_t, kMaxBits + 2> offset{};
        std::array<std::uint32_t, kMaxBits + 2> next{};
        for (unsigned len = 1; len <= kMaxBits; ++len) {
            offset[len + 1] = static_cast<std::uint16_t>(offset[len] + Count[len]);
            next[len + 1] = (next[len] + Count[len]) << 1;
        }
        for (unsigned s = 0; s < count; ++s) {
            const unsigned len = lengths[s];
            if (len == 0)
                continue;
            Symbol[offset[len]++] = static_cast<std::uint16_t>(s);
            const std::uint32_t code = next[len]++;
            if (len > kFastBits)
                continue;
            // Codes are packed from their highest bit, so the table is indexed by the code reversed.
            std::uint32_t reversed = 0;
            for (unsigned b = 0; b < len; ++b)
                reversed |= ((code >> b) & 1u) << (len - 1 - b);
            for (std::uint32_t i = reversed; i < Fast.size(); i += 1u << len)
                Fast[i] = static_cast<std::uint16_t>(len << 9 | s);
        }
        return true;
    }
};

class TInflater {
public:
    TInflater(const TInflateSource& source, const TInflateSink& sink, std::uint64_t limit)
        : FSource(source), FSink(sink), FLimit(limit),
          FInput(std::make_unique_for_overwrite<std::uint8_t[]>(kInputSize)),
          FOutput(std::make_unique_for_overwrite<std::uint8_t[]>(kWindow + kChunk)) {}

    void Run();

private:
    bool Fetch();
    void Refill();
    std::uint32_t Bits(unsigned count);
    unsigned Decode(const THuffman& code);
    void Room(std::size_t size);
    void Produce(std::size_t size);
    void Flush();
    void Stored();
    void Dynamic(THuffman& literals, THuffman& distances);
    void Codes(const THuffman& literals, const THuffman& distances);

    const TInflateSource& FSource;
    const TInflateSink& FSink;
    const std::uint64_t FLimit;
    std::unique_ptr<std::uint8_t[]> FInput;
    std::size_t FInputAt = 0, FInputEnd = 0;
    bool FInputDone = false;
    std::uint64_t FBits = 0; // taken from the input, not yet used; the oldest in the lowest bit
    unsigned FBitCount = 0;
    std::unique_ptr<std::uint8_t[]> FOutput; // the window, then the output the sink has not had
    std::size_t FOutputAt = 0, FFlushed = 0;
    std::uint64_t FTotal = 0;
};

bool TInflater::Fetch() {
    if (FInputDone)
        return false;
    const std::size_t got = FSource(FInput.get(), kInputSize);
    if (got > kInputSize)
        throw TDamaged{};
    FInputAt = 0;
    FInputEnd = got;
    FInputDone = got == 0;
    return got != 0;
}

void TInflater::Refill() {
    while (FBitCount <= 56 && (FInputAt < FInputEnd || Fetch())) {
        FBits |= static_cast<std::uint64_t>(FInput[FInputAt++]) << FBitCount;
        FBitCount += 8;
    }
}

std::uint32_t TInflater::Bits(unsigned count) {
    if (FBitCount < count)
        Refill();
    if (FBitCount < count)
        throw TDamaged{};
    const auto value = static_cast<std::uint32_t>(FBits & ((std::uint64_t{1} << count) - 1));
    FBits >>= count;
    FBitCount -= count;
    return value;
}

unsigned TInflater::Decode(const THuffman& code) {
    if (FBitCount < kMaxBits)
        Refill();
    // Past the end of the input the bits read as zeros; a code that needs them fails below.
    const auto bits = static_cast<std::uint32_t>(FBits);
    unsigned len = 0, symbol = 0;
    if (const std::uint16_t entry = code.Fast[bits & ((1u << kFastBits) - 1)]; entry != 0) {
        len = entry >> 9;
        symbol = entry & 0x1FF;
    } else {
        int value = 0, first = 0, index = 0;
        for (unsigned l = 1; l <= kMaxBits && len == 0; ++l) {
            value |= static_cast<int>((bits >> (l - 1)) & 1u);
            const int count = code.Count[l];
            if (value - first < count) {
                len = l;
                symbol = code.Symbol[static_cast<std::size_t>(index + value - first)];
            }
            index += count;
            first = (first + count) << 1;
            value <<= 1;
        }
        if (len == 0)
            throw TDamaged{};
    }
    if (len > FBitCount)
        throw TDamaged{};
    FBits >>= len;
    FBitCount -= len;
    return symbol;
}

// Makes room for size more bytes after the output, keeping the window.
void TInflater::Room(std::size_t size) {
    if (FOutputAt + size <= kWindow + kChunk)
        return;
    Flush();
    const std::size_t keep = std::min(FOutputAt, kWindow);
    std::memmove(FOutput.get(), FOutput.get() + FOutputAt - keep, keep);
    FOutputAt = FFlushed = keep;
}

void TInflater::Produce(std::size_t size) {
    if (size > FLimit - FTotal)
        throw TDamaged{};
    FTotal += size;
    Room(size);
}

void TInflater::Flush() {
    if (FOutputAt > FFlushed)
        FSink(FOutput.get() + FFlushed, FOutputAt - FFlushed);
    FFlushed = FOutputAt;
}

void TInflater::Stored() {
    Bits(FBitCount % 8);
    const std::uint32_t length = Bits(16);
    if (Bits(16) != (~length & 0xFFFF))
        throw TDamaged{};
    Produce(length);
    std::size_t left = length;
    for (; left > 0 && FBitCount >= 8; --left)
        FOutput[FOutputAt++] = static_cast<std::uint8_t>(Bits(8));
    while (left > 0) {
        if (FInputAt == FInputEnd && !Fetch())
            throw TDamaged{};
        const std::size_t piece = std::min(left, FInputEnd - FInputAt);
        std::memcpy(FOutput.get() + FOutputAt, FInput.get() + FInputAt, piece);
        FInputAt += piece;
        FOutputAt += piece;
        left -= piece;
    }
}

void TInflater::Dynamic(THuffman& literals, THuffman& distances) {
    const unsigned literalCount = Bits(5) + 257;
    const unsigned distanceCount = Bits(5) + 1;
    const unsigned lengthCount = Bits(4) + 4;
    if (literalCount > 286)
        throw TDamaged{};
    std::array<std::uint8_t, 19> codeLengths{};
    for (unsigned i = 0; i < lengthCount; ++i)
        codeLengths[kCodeLengthOrder[i]] = static_cast<std::uint8_t>(Bits(3));
    THuffman lengthCode;
    if (!lengthCode.Build(codeLengths.data(), 19, false))
        throw TDamaged{};

    std::array<std::uint8_t, kLiteralCodes + kDistanceCodes> lengths{};
    const unsigned total = literalCount + distanceCount;
    for (unsigned i = 0; i < total;) {
        const unsigned symbol = Decode(lengthCode);
        if (symbol < 16) {
            lengths[i++] = static_cast<std::uint8_t>(symbol);
            continue;
        }
        std::uint8_t value = 0;
        unsigned repeat;
        if (symbol == 16) {
            if (i == 0)
                throw TDamaged{};
            value = lengths[i - 1];
            repeat = 3 + Bits(2);
        } else if (symbol == 17) {
            repeat = 3 + Bits(3);
        } else {
            repeat = 11 + Bits(7);
        }
        if (repeat > total - i)
            throw TDamaged{};
        std::fill_n(lengths.begin() + i, repeat, value);
        i += repeat;
    }
    if (lengths[256] == 0) // a block must be able to end
        throw TDamaged{};
    if (!literals.Build(lengths.data(), literalCount, true) ||
        !distances.Build(lengths.data() + literalCount, distanceCount, true))
        throw TDamaged{};
}

void TInflater::Codes(const THuffman& literals, const THuffman& distances) {
    for (;;) {
        unsigned symbol = Decode(literals);
        if (symbol < 256) {
            Produce(1);
            FOutput[FOutputAt++] = static_cast<std::uint8_t>(symbol);
            continue;
        }
        if (symbol == 256)
            return;
        symbol -= 257;
        if (symbol >= kLengthBase.size())
            throw TDamaged{};
        const std::size_t length = kLengthBase[symbol] + Bits(kLengthExtra[symbol]);
        const unsigned code = Decode(distances);
        if (code >= kDistanceCodes)
            throw TDamaged{};
        const std::size_t distance = kDistanceBase[code] + Bits(kDistanceExtra[code]);
        if (distance > FTotal) // before the start of the output
            throw TDamaged{};
        Produce(length);
        // Room kept the window, so the distance stays inside the buffer.
        std::uint8_t* to = FOutput.get() + FOutputAt;
        const std::uint8_t* from = to - distance;
        if (distance >= length) {
            std::memcpy(to, from, length);
        } else {
            for (std::size_t i = 0; i < length; ++i) // overlapping: repeats the last distance bytes
                to[i] = from[i];
        }
        FOutputAt += length;
    }
}

const std::pair<THuffman, THuffman>& FixedCodes() {
    static const std::pair<THuffman, THuffman> codes = [] {
        std::array<std::uint8_t, kLiteralCodes> lengths{};
        std::fill(lengths.begin(), lengths.begin() + 144, 8);
        std::fill(lengths.begin() + 144, lengths.begin() + 256, 9);
        std::fill(lengths.begin() + 256, lengths.begin() + 280, 7);
        std::fill(lengths.begin() + 280, lengths.end(), 8);
        std::pair<THuffman, THuffman> built;
        built.first.Build(lengths.data(), kLiteralCodes, false);
        lengths.fill(5);
        built.second.Build(lengths.data(), kDistanceCodes, false);
        return built;
    }();
    return codes;
}

void TInflater::Run() {
    THuffman literals, distances;
    for (bool last = false; !last;) {
        last = Bits(1) != 0;
        switch (Bits(2)) {
        case 0:
            Stored();
            break;
        case 1:
            Codes(FixedCodes().first, FixedCodes().second);
            break;
        case 2:
            Dynamic(literals, distances);
            Codes(literals, distances);
            break;
        default:
            throw TDamaged{};
        }
    }
    Flush();
}

} // namespace

TInflateResult Inflate64(const TInflateSource& source, const TInflateSink& sink, std::uint64_t limit) {
    TInflater inflater(source, sink, limit);
    try {
        inflater.Run();
    } catch (const TDamaged&) {
        return TInflateResult::Damaged;
    }
    return TInflateResult::Done;
}

} // namespace wh
