#pragma once
// Builds small TIFF files in memory for the reader's tests: a header, the
// values that do not fit in their entries, the strips, and one directory
// (entries sorted by tag unless asked otherwise).

#include <cstdint>
#include <string>
#include <vector>

namespace QuillonTest {

class TiffBuilder {
  public:
    explicit TiffBuilder(bool bigEndian = false) : mBigEndian(bigEndian) {}

    TiffBuilder& shorts(std::uint16_t tag, std::vector<std::uint32_t> values);
    TiffBuilder& longs(std::uint16_t tag, std::vector<std::uint32_t> values);
    TiffBuilder& rational(std::uint16_t tag, std::uint32_t numerator, std::uint32_t denominator);
    TiffBuilder& bytes(std::uint16_t tag, std::uint16_t type, std::vector<unsigned char> data);
    TiffBuilder& ascii(std::uint16_t tag, const std::string& text) {
        return bytes(tag, 2, std::vector<unsigned char>(text.begin(), text.end()));
    }
    // An entry exactly as given (count and value field unchecked).
    TiffBuilder& raw(std::uint16_t tag, std::uint16_t type, std::uint32_t count,
                     std::uint32_t valueField);
    // Strip data with their StripOffsets and StripByteCounts (LONG).
    TiffBuilder& strips(std::vector<std::vector<unsigned char>> data);
    // Width, height, samples, bits, photometric, compression and the strips.
    TiffBuilder& image(int width, int height, int spp, int bits, int photometric, int compression,
                       std::vector<std::vector<unsigned char>> data);
    TiffBuilder& unsorted() {
        mSorted = false;
        return *this;
    }

    std::vector<unsigned char> build() const;

  private:
    struct Entry {
        std::uint16_t tag, type;
        std::uint32_t count;
        std::vector<unsigned char> value;  // in file order
        bool rawField = false;
        std::uint32_t field = 0;
    };
    void put(std::vector<unsigned char>& out, std::uint32_t value, int size) const;

    bool mBigEndian;
    bool mSorted = true;
    std::vector<Entry> mEntries;
    std::vector<std::vector<unsigned char>> mStrips;
};

}  // namespace QuillonTest
