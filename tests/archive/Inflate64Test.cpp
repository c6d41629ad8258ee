#include "archive/Inflate64.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/TempDir.h"

namespace {

using wh::TInflateResult;

unsigned LengthExtra(unsigned code) { return code < 8 ? 0 : code == 28 ? 16 : (code - 4) / 4; }
unsigned DistanceExtra(unsigned code) { return code < 4 ? 0 : code / 2 - 1; }

// Blocks of the fixed code by hand: they reach every length and distance code.
struct TWriter {
    std::string Bytes;
    unsigned Used = 0; // bits in use of the last byte

    TWriter& Bits(std::uint32_t value, unsigned count) {
        for (unsigned i = 0; i < count; ++i, Used = (Used + 1) % 8) {
            if (Used == 0)
                Bytes += '\0';
            Bytes.back() = static_cast<char>(Bytes.back() | ((value >> i) & 1u) << Used);
        }
        return *this;
    }
    TWriter& Code(std::uint32_t code, unsigned count) { // Huffman codes go highest bit first
        for (unsigned i = count; i-- > 0;)
            Bits(code >> i, 1);
        return *this;
    }
    TWriter& Fixed(bool last) { return Bits(last | 2, 3); }
    TWriter& Symbol(unsigned s) {
        return s < 144   ? Code(0x30 + s, 8)
               : s < 256 ? Code(0x190 + s - 144, 9)
               : s < 280 ? Code(s - 256, 7)
                         : Code(0xC0 + s - 280, 8);
    }
    TWriter& Match(unsigned length, unsigned distance) {
        unsigned code = length > 258 ? 28 : 0, base = 3, d = 0, from = 1;
        while (code < 28 && length >= base + (1u << LengthExtra(code)))
            base += 1u << LengthExtra(code++);
        while (d < 31 && distance >= from + (1u << DistanceExtra(d)))
            from += 1u << DistanceExtra(d++);
        Symbol(257 + code).Bits(length - base, LengthExtra(code));
        return Code(d, 5).Bits(distance - from, DistanceExtra(d));
    }
};

// Fed a few bytes at a time, so that codes and stored blocks straddle the reads.
std::pair<TInflateResult, std::string> Inflate(const std::string& stream, std::uint64_t limit) {
    std::size_t at = 0;
    std::string out;
    const auto result = wh::Inflate64(
        [&](std::uint8_t* buffer, std::size_t size) {
            const std::size_t n = std::min({size, std::size_t{7}, stream.size() - at});
            std::copy_n(stream.data() + std::exchange(at, at + n), n, buffer);
            return n;
        },
        [&](const std::uint8_t* data, std::size_t size) { out.append(reinterpret_cast<const char*>(data), size); },
        limit);
    return {result, out};
}

TEST(Inflate64Test, DecodesEveryBlockKindAndRefusesBrokenStreams) {
    // 64 KiB of history, matches on both sides of the distance codes' bounds,
    // then the longest match from 64 KiB back over and over: each fills the
    // output buffer, so the window moves right before a copy from its first byte.
    std::string farOut = wh::test::RandomBytes(65535, 1) + "!";
    TWriter far{std::string("\0\xFF\xFF\0\0", 5) + farOut.substr(0, 65535)}; // a stored block of 65535 bytes
    far.Fixed(true).Symbol('!');
    std::vector<std::pair<unsigned, unsigned>> matches = {{258, 49153}, {40, 49152}, {3, 32769}, {4, 32768}};
    matches.insert(matches.end(), 10, {65538, 65536});
    for (auto [length, distance] : matches) {
        far.Match(length, distance);
        while (length-- > 0) // overlapping copies repeat the last distance bytes
            farOut += farOut[farOut.size() - distance];
    }
    far.Symbol(256);

    // Matches stay far shorter than 258, the one length deflate codes otherwise: zlib writes the dynamic blocks.
    std::string words;
    for (unsigned i = 0; words.size() < 700000; ++i)
        words += "livery " + std::to_string(i * 7919 % 10007) + (i % 7 ? " " : "\n");
    uLongf size = compressBound(words.size());
    std::string dynamic(size, '\0');
    ASSERT_EQ(compress2(reinterpret_cast<Bytef*>(dynamic.data()), &size, reinterpret_cast<const Bytef*>(words.data()),
                        words.size(), 9),
              Z_OK);
    dynamic = dynamic.substr(2, size - 6); // the raw stream between zlib's header and checksum

    const std::string hello = std::string("\x01\x05\0\xFA\xFF", 5) + "hello"; // the final block, stored
    std::string unconfirmed = hello;
    unconfirmed[3] ^= 1; // the length's complement
    struct Case {
        std::string Name, Stream;
        bool Done;
        std::string Output; // when done
        std::uint64_t Limit = UINT64_MAX;
    };
    const Case cases[] = {
        {"stored block", hello, true, "hello"},
        {"overlapping match", TWriter().Fixed(true).Symbol('a').Symbol('b').Match(5, 2).Symbol(256).Bytes, true,
         "abababa"},
        {"length 285 takes 16 extra bits", TWriter().Fixed(true).Symbol('x').Match(65538, 1).Symbol(256).Bytes, true,
         std::string(65539, 'x')},
        {"distance codes 30 and 31 reach the 64 KiB window", far.Bytes, true, farOut},
        {"dynamic blocks", dynamic, true, words},
        {"output beyond the limit", hello, false, "", 4},
        {"no input", "", false, ""},
        {"truncated dynamic blocks", dynamic.substr(0, dynamic.size() - 9), false, ""},
        {"truncated stored block", hello.substr(0, hello.size() - 2), false, ""},
        {"block without its end code", TWriter().Fixed(true).Symbol('a').Bytes, false, ""},
        {"block type 3", TWriter().Bits(7, 3).Bytes, false, ""},
        {"stored length not confirmed", unconfirmed, false, ""},
        {"distance before the start", TWriter().Fixed(true).Symbol('a').Symbol('b').Match(3, 3).Symbol(256).Bytes,
         false, ""},
        {"length symbol 286", TWriter().Fixed(true).Symbol('a').Symbol(286).Bits(0, 5).Symbol(256).Bytes, false, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        const auto [result, output] = Inflate(c.Stream, c.Limit);
        EXPECT_EQ(result == TInflateResult::Done, c.Done);
        EXPECT_TRUE(!c.Done || output == c.Output);
    }
}

} // namespace
