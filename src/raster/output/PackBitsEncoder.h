#pragma once
// PackBits (Apple's run-length scheme) for one strip. Two or more equal
// bytes become a run (header 1 - length, the byte), everything else is
// gathered into literals (header length - 1, the bytes); packets hold at
// most 128 bytes, a literal ends where a pair of equal bytes starts, and a
// full packet is closed at once. The strip ends with one no-operation byte
// (128). No packet is ever empty.

#include <cstddef>
#include <vector>

namespace QuillonCore {

class PackBitsEncoder {
  public:
    static constexpr unsigned char kNoOperation = 128;

    // Replaces out with the encoded strip.
    void EncodeStrip(const unsigned char* bytes, std::size_t count,
                     std::vector<unsigned char>& out) const;
    // The largest encoding of count bytes: at worst a one-byte literal and a
    // pair alternate, 4 bytes for every 3, then the closing byte.
    static std::size_t MaxEncodedSize(std::size_t count) { return count + (count + 2) / 3 + 2; }

  private:
    // Length of the run starting at bytes[0] (at most 128).
    static std::size_t RunLength(const unsigned char* bytes, std::size_t count);
    // Length of the literal starting at bytes[0]: up to the next pair of
    // equal bytes, the end, or 128.
    static std::size_t LiteralLength(const unsigned char* bytes, std::size_t count);
};

}  // namespace QuillonCore
