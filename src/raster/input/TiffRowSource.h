#pragma once
// Where a TIFF reader's stored rows come from: it steps through the strips
// and decodes each row (uncompressed, PackBits, LZW with its predictor, or
// CCITT) into the stored layout: ceil(width x samples x bits / 8) bytes.
//
// Reading holds one strip buffer (LZW) or one row, whatever the height.
// Missing data (a truncated strip, an LZW strip that ends early) is
// delivered as zero bytes and reported once through the reader.

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/velsys/fil.h"
#include "raster/input/CcittDecoder.h"
#include "raster/input/StripInput.h"
#include "raster/input/pixreatyp.h"
#include "raster/input/tiflzwinptyp.h"

namespace QuillonCore {

class TiffRowSource {
  public:
    enum class Codec { kNone, kPackBits, kLzw, kCcitt };

    struct Format {
        Codec codec = Codec::kNone;
        int compression = 1;
        int width = 0;
        int height = 0;
        std::int64_t rowBytes = 0;
        int bitsPerSample = 8;
        int samplesPerPixel = 1;
        bool bigEndian = false;
        bool horizontalPredictor = false;
        bool reverseBits = false;
        bool byteAlignedRows = false;  // Group 3: EOLs padded to byte boundaries
    };

    struct Strips {
        std::int64_t base = 0;  // the image offset
        std::int64_t rowsPerStrip = 0;
        std::vector<std::uint32_t> offsets;
        std::vector<std::uint32_t> byteCounts;  // used when there is one per strip
    };

    TiffRowSource(pixreatyp& reader, VelSys::fil* file, const Format& format, Strips strips);
    TiffRowSource(const TiffRowSource&) = delete;
    TiffRowSource& operator=(const TiffRowSource&) = delete;

    // The next stored row, or null after a reported error.
    const unsigned char* nextRow();
    // Decodes the next stored row into destination (row bytes long); false
    // after a reported error.
    bool nextRowInto(unsigned char* destination);
    // Passes over the next row; with one row per strip nothing is read.
    bool skipRow();

  private:
    bool nextStrip();
    std::int64_t stripBudget(std::size_t strip) const;
    bool decodeRow(unsigned char* row);
    void rawRow(unsigned char* row);
    void packBitsRow(unsigned char* row);
    bool lzwRow(unsigned char* row);
    void ccittRow(unsigned char* row);
    void decodeLzwStrip();
    void undoPredictor(unsigned char* row) const;
    void missingData(int id);

    pixreatyp& mReader;
    VelSys::fil* mFile;
    Format mFormat;
    Strips mStrips;
    StripInput mInput;
    std::unique_ptr<unsigned char[]> mRow;  // one stored row (not zeroed: filled before use)
    std::int64_t mStripIndex = -1;
    std::int64_t mStripRowsLeft = 0;
    std::int64_t mStripRows = 0;
    std::unique_ptr<tiflzwinptyp> mLzw;
    std::unique_ptr<unsigned char[]> mStripBuffer;
    std::int64_t mStripCapacity = 0;
    std::int64_t mStripFilled = 0;
    std::int64_t mStripPosition = 0;
    std::unique_ptr<CcittDecoder> mCcitt;
    bool mNewStrip = false;
    bool mStripBroken = false;
};

}  // namespace QuillonCore
