#pragma once
// JPEG compression of an image fed one byte at a time, written to a file.
//
// Input bytes arrive in row order, width x components per row, and are
// inverted before compression (an input of 0 is stored as 255): gray and RGB
// callers pass 255 - value, CMYK callers pass ink amounts, which gives the
// inverted CMYK samples that CMYK JPEG files conventionally store.

#include <cstddef>
#include <vector>

#include "platform/velsys/fil.h"
#include "raster/output/ql_jpeg_compressor.h"

namespace QuillonCore {

class jpeghandler : public ql_jpeg_compressor {
  public:
    // file is not owned; null for handlers that send their bytes elsewhere.
    jpeghandler(VelSys::fil* file, int colourType, int width, int height, int resolutionNumerator,
                int resolutionDenominator, int quality, bool perInch);

    int startcompression() { return start_compression(); }
    // Non-zero when a completed row could not be compressed.
    int handlebyte(unsigned char byte) { return handlebytes(&byte, 1); }
    // count bytes, as many handlebyte calls.
    int handlebytes(const unsigned char* bytes, std::size_t count);
    // 0 when every row was compressed and every byte written.
    virtual int endcompression();

    int getWidth() const { return mWidth; }
    int getHeight() const { return mHeight; }
    int getSamplesPerPixel() const { return mComponents; }

    int putUInt8(unsigned char byte) override;

  protected:
    bool putBytes(const unsigned char* bytes, std::size_t count) override;

  private:
    VelSys::fil* mFile;
    int mWidth;
    int mHeight;
    int mComponents;
    std::size_t mRowPosition = 0;
    std::vector<unsigned char> mRow;
};

}  // namespace QuillonCore
