#pragma once
// Decodes bilevel rows coded with the ITU-T fax codings: compression 2
// (modified Huffman, each row starting on a byte boundary), 3 (T.4
// one-dimensional, end-of-line codes) and 4 (T.6 two-dimensional).
//
// Rows come out as packed bits, most significant first, 1 for pixels of
// the black coding colour. A row is held as its changing elements (the
// positions where the colour toggles), which is what T.6 codes against.
// Every position is kept within the width; a decoder never writes past
// the row. The end of the data, an end-of-facsimile-block or an invalid
// code ends the strip: the rest of that row and the strip's later rows
// are white. Every strip starts afresh (white reference row).

#include <cstdint>
#include <vector>

#include "raster/input/CcittCodeTable.h"
#include "raster/input/StripInput.h"

namespace QuillonCore {

class CcittDecoder {
  public:
    enum class Status {
        kRow,        // a row was decoded
        kEnded,      // the strip's coding ended earlier (block end or invalid code): a white row
        kOutOfData,  // the data ran out inside the row
    };

    CcittDecoder(StripInput& input, int compression, int width);

    void beginStrip();
    // Writes (width + 7) / 8 bytes.
    Status decodeRow(unsigned char* bits);

  private:
    enum class Step { kContinue, kRowDone, kStop, kOutOfData };

    Step decodeOneDimensional();
    Step decodeTwoDimensional();
    Step decodeUncompressed(int& position, bool& black);
    // A run of one colour, make-up codes included, or one of the negative
    // code values (uncompressed mode, end of line, invalid, no data).
    int decodeRun(bool black);
    int decodeCode(const CcittCodeTable& table, int indexBits);
    bool skipEndOfLine();
    void emit(int& position, std::int64_t count, bool black);
    int findB1(int a0, bool black);
    void render(unsigned char* bits) const;

    bool fill();
    std::uint32_t peek(int count) const {
        return static_cast<std::uint32_t>(mWindow >> (64 - count));
    }
    void consume(int count) {
        mWindow <<= count;
        mCount -= count;
    }
    int bit();

    StripInput& mInput;
    int mCompression;
    int mWidth;
    std::uint64_t mWindow = 0;
    int mCount = 0;
    bool mInputEnded = false;
    bool mEnded = false;
    std::size_t mSearch = 0;
    int mReached = 0;             // the end of the last pixels added to the row
    std::vector<int> mReference;  // changing elements of the previous row, then sentinels
    std::vector<int> mCurrent;
};

}  // namespace QuillonCore
