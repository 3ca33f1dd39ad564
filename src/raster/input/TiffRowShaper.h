#pragma once
// The steps that turn a stored TIFF row into the caller's row layout.
//
// First the stored row is brought to 8-bit samples (16-bit samples reduced
// to their high byte, 1-bit CMYK expanded to 0 or 255 ink, gray stored with
// white as zero turned into luminance, palette indexes unpacked); bilevel
// rows stay packed bits. Then one shape writes the layout: the RGB preview,
// a run list, the composite, all samples, or one channel. The converter
// table pairs each colour model and layout with its shape.

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/velgen/colsynlnk.h"

namespace QuillonCore {

class TiffRowShaper {
  public:
    enum class Model { kBilevel, kGray, kRgb, kPalette, kCmyk };

    struct Setup {
        Model model = Model::kGray;
        int width = 0;
        int samplesPerPixel = 1;
        int bitsPerSample = 8;
        bool bigEndian = false;
        bool whiteIsZero = false;  // photometric interpretation 0
        int channel = 0;           // the single channel layout's channel
        std::vector<std::uint32_t> palette;
    };

    // Writes the layout into destination (length bytes for run lists);
    // false when a run list does not fit.
    using Shape = bool (TiffRowShaper::*)(const unsigned char* samples, unsigned char* destination,
                                          int length);

    explicit TiffRowShaper(Setup setup);

    // The row as 8-bit samples (or bits, for bilevel rows).
    const unsigned char* normalize(const unsigned char* stored);
    // True when shape writes the stored row unchanged, so the row can be
    // decoded straight into the caller's buffer.
    bool keepsStoredRow(Shape shape) const;

    bool bitsToPreview(const unsigned char* bits, unsigned char* destination, int length);
    bool bitsToRuns(const unsigned char* bits, unsigned char* destination, int length);
    bool bitsToBytes(const unsigned char* bits, unsigned char* destination, int length);
    bool grayToPreview(const unsigned char* samples, unsigned char* destination, int length);
    bool rgbToPreview(const unsigned char* samples, unsigned char* destination, int length);
    bool cmykToPreview(const unsigned char* samples, unsigned char* destination, int length);
    bool paletteToPreview(const unsigned char* indexes, unsigned char* destination, int length);
    bool grayToRuns(const unsigned char* samples, unsigned char* destination, int length);
    bool rgbToRuns(const unsigned char* samples, unsigned char* destination, int length);
    bool cmykToRuns(const unsigned char* samples, unsigned char* destination, int length);
    bool composite(const unsigned char* samples, unsigned char* destination, int length);
    bool allSamples(const unsigned char* samples, unsigned char* destination, int length);
    bool singleChannel(const unsigned char* samples, unsigned char* destination, int length);

  private:
    void reduce16(const unsigned char* stored);
    void expandBits(const unsigned char* stored);
    void unpackIndexes(const unsigned char* stored);
    bool grayRowToRuns(unsigned char* destination, int length);

    Setup mSetup;
    std::int64_t mSampleCount;
    int mCompositeSamples;
    bool mInvertChannel;
    // Scratch rows (not zeroed: always written before they are read).
    std::unique_ptr<unsigned char[]> mSamples;
    std::unique_ptr<unsigned char[]> mGray;
};

}  // namespace QuillonCore
