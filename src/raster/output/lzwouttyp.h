#pragma once
// TIFF LZW encoder (compression 5), optionally after horizontal differencing
// (predictor 2). Codes go strip by strip to a TIFF output stream; each strip
// starts with Clear (256) and ends with end-of-information (257), strings do
// not span strips, code widths grow from 9 to 12 bits with TIFF's "early
// change" and the table is reset (Clear) when code 4093 has been assigned.
// At the end the strip starts and byte counts are patched into the header.
//
// Use: tiflzwoutini -> tiflzwsetstrippar -> tiflzwoutrow once per row ->
// tiflzwoutexi. Failures are sticky: after a failed write, an invalid strip
// layout or a row beyond the image, tiflzwoutrow returns non-zero and
// tiflzwoutfailed stays true.

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "raster/output/StripTable.h"
#include "raster/output/TiffHeaderInfo.h"
#include "raster/output/TiffOutStream.h"

namespace VelSys {
class fil;
class FileIO;
}  // namespace VelSys

namespace QuillonCore {

struct lzwouttyp {
    static constexpr int kClear = 256;
    static constexpr int kEndOfInformation = 257;
    static constexpr int kFirstFreeCode = 258;
    static constexpr int kLastCode = 4093;  // the table is reset once it is assigned
    static constexpr int kHashBits = 14;
    static constexpr std::size_t kOutputSize = 32 * 1024;

    int rowsPerStrip = 0;
    int totalRows = 0;
    int stripCount = 0;
    int rowsWritten = 0;
    int currentStrip = 0;
    TiffHeaderInfo layout;
    std::uint64_t stripStart = 0;
    int lastCode = kFirstFreeCode - 1;
    int codeWidth = 9;
    std::uint64_t stripBytes = 0;
    std::uint64_t totalBytes = 0;
    std::uint64_t inputBytes = 0;
    // The code of the string being extended, or -1; kept across the rows of
    // a strip.
    int prefix = -1;
    int predictor = 1;
    bool failed = false;

    // Pending bits, most significant first.
    std::uint64_t bitBuffer = 0;
    int bitCount = 0;
    std::vector<unsigned char> output;

    // The string table as (prefix code, byte) -> code, open addressing.
    // Slots carry the table generation in their top bits, so a reset only
    // advances the generation instead of clearing the slots.
    std::vector<std::uint32_t> keys;
    std::vector<std::uint16_t> codes;
    std::uint32_t generation = 1;

    std::vector<unsigned char> differences;  // one row after predictor 2
    std::unique_ptr<TiffOutStream> stream;
    StripTable strips;
};

// An encoder over a new borrowed stream on the file (byte order 1 when
// littleEndian is non-zero); null when it cannot be made.
lzwouttyp* tiflzwoutini(VelSys::fil* file, int littleEndian);
lzwouttyp* tiflzwoutini(VelSys::FileIO* io, int littleEndian);

// The strip layout: stripCount must be ceil(totalRows / rowsPerStrip) with
// rowsPerStrip >= 1; anything else leaves the encoder failed.
void tiflzwsetstrippar(lzwouttyp* encoder, int totalRows, int rowsPerStrip, int stripCount,
                       unsigned int byteCountsPosition, unsigned int offsetsPosition,
                       int firstStripPosition, int predictor);
// The same with 64-bit positions, the declared strip count and the file's
// origin taken from the header writer's layout.
void tiflzwsetstrippar(lzwouttyp* encoder, int totalRows, int rowsPerStrip,
                       const TiffHeaderInfo& layout, std::uint64_t firstStripPosition,
                       int predictor);

// Encodes one row; non-zero when it could not be written. Null gives 0.
int tiflzwoutrow(lzwouttyp* encoder, const unsigned char* row, int byteCount, int samplesPerPixel);
// The same for rows of any length.
int tiflzwoutrow(lzwouttyp* encoder, const unsigned char* row, std::size_t byteCount,
                 int samplesPerPixel);

// Patches the strip values, then deletes the stream and the encoder. Returns
// false when anything failed on the way (the void form of the callers drops
// that). Null does nothing.
bool tiflzwoutexi(lzwouttyp* encoder);

bool tiflzwoutfailed(const lzwouttyp* encoder);

}  // namespace QuillonCore
