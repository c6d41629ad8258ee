#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace wh::test {

// Writes Deflate64 streams by hand: stored blocks, and blocks of the fixed
// code with literals and matches, which reach every length and distance code.
class TDeflate64Writer {
public:
    TDeflate64Writer& Stored(std::string_view data, bool last);
    TDeflate64Writer& Fixed(bool last); // the block header; End closes the block
    TDeflate64Writer& Literals(std::string_view text);
    TDeflate64Writer& Match(unsigned length, unsigned distance);
    TDeflate64Writer& Symbol(unsigned symbol); // any of the fixed code's 288, even those not allowed
    TDeflate64Writer& End();
    TDeflate64Writer& Bits(std::uint32_t value, unsigned count); // first bit lowest
    // The stream so far, its last byte filled up with zeros.
    std::string Bytes() const;

private:
    void Code(std::uint32_t code, unsigned count); // a Huffman code: highest bit first

    std::string FBytes;
    unsigned FUsed = 0; // bits of the last byte in use; 0: none
};

} // namespace wh::test
