#include "tests/support/Deflate64Writer.h"

#include <stdexcept>

namespace wh::test {

TDeflate64Writer& TDeflate64Writer::Bits(std::uint32_t value, unsigned count) {
    for (unsigned i = 0; i < count; ++i) {
        if (FUsed == 0)
            FBytes.push_back('\0');
        if ((value >> i) & 1u)
            FBytes.back() = static_cast<char>(FBytes.back() | (1 << FUsed));
        FUsed = (FUsed + 1) % 8;
    }
    return *this;
}

void TDeflate64Writer::Code(std::uint32_t code, unsigned count) {
    for (unsigned i = count; i-- > 0;)
        Bits((code >> i) & 1u, 1);
}

TDeflate64Writer& TDeflate64Writer::Symbol(unsigned symbol) {
    if (symbol < 144)
        Code(0x30 + symbol, 8);
    else if (symbol < 256)
        Code(0x190 + symbol - 144, 9);
    else if (symbol < 280)
        Code(symbol - 256, 7);
    else
        Code(0xC0 + symbol - 280, 8);
    return *this;
}

TDeflate64Writer& TDeflate64Writer::Stored(std::string_view data, bool last) {
    Bits(last, 1).Bits(0, 2);
    FUsed = 0;
    Bits(static_cast<std::uint32_t>(data.size()), 16).Bits(~static_cast<std::uint32_t>(data.size()), 16);
    FBytes.append(data);
    return *this;
}

TDeflate64Writer& TDeflate64Writer::Fixed(bool last) { return Bits(last, 1).Bits(1, 2); }

TDeflate64Writer& TDeflate64Writer::Literals(std::string_view text) {
    for (const char c : text)
        Symbol(static_cast<unsigned char>(c));
    return *this;
}

TDeflate64Writer& TDeflate64Writer::Match(unsigned length, unsigned distance) {
    static const unsigned kLengthBase[] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                           31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 3};
    static const unsigned kLengthExtra[] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                            2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 16};
    if (length < 3 || length > 65538 || distance < 1 || distance > 65536)
        throw std::invalid_argument("no Deflate64 match");
    unsigned code = 28; // 285: 3 plus 16 bits, for every length above 258
    for (unsigned c = 0; c < 28 && length <= 258; ++c)
        if (length >= kLengthBase[c] && length - kLengthBase[c] < (1u << kLengthExtra[c]))
            code = c;
    Symbol(257 + code);
    Bits(length - kLengthBase[code], kLengthExtra[code]);
    // Distance codes come in pairs per number of extra bits: 1, 2, 3, 4, then 5-6 with 1 bit, ...
    unsigned d = 0, base = 1;
    for (; d < 31; ++d) {
        const unsigned extra = d < 4 ? 0 : d / 2 - 1;
        if (distance < base + (1u << extra))
            break;
        base += 1u << extra;
    }
    Code(d, 5);
    return Bits(distance - base, d < 4 ? 0 : d / 2 - 1);
}

TDeflate64Writer& TDeflate64Writer::End() { return Symbol(256); }

std::string TDeflate64Writer::Bytes() const { return FBytes; }

} // namespace wh::test
