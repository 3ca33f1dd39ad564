#pragma once
// Writes a complete single-image TIFF file through a compression filter: the
// constructor writes the header (see TiffOutputHeader), Write passes rows to
// the filter, and Flush (or destruction) lets the filter patch the strip
// values.
//
// Rows are whole rows of RowBytes() bytes (samples packed most significant
// bit first for depths below 8); a call may pass several rows at once
// (pixelCount a multiple of the width). Write returns false for rows beyond
// the height or a pixel count that is not whole rows. Failed() reports
// whether the file is not sound: invalid parameters (nothing is written),
// a failed write, or fewer rows than the height at Flush.

#include <cstdint>
#include <memory>
#include <string>

#include "raster/output/ColorspaceInfo.h"
#include "raster/output/TiffFilter.h"
#include "raster/output/TiffHeaderInfo.h"

namespace VelDB {
class Object;
}

namespace QuillonCore {

class TiffWriter {
  public:
    TiffWriter(std::unique_ptr<TiffFilter> filter, unsigned long width, unsigned long height,
               unsigned long bitsPerSample, unsigned long samplesPerPixel,
               const ColorspaceInfo& colorspace, unsigned long resolutionNumerator,
               unsigned long resolutionDenominator, long centimetre, long orientation,
               const VelDB::Object* clippingPath, long horizontalOrigin, long verticalOrigin,
               const std::string& software, const std::string& description);
    ~TiffWriter();
    TiffWriter(const TiffWriter&) = delete;
    TiffWriter& operator=(const TiffWriter&) = delete;

    bool Write(const unsigned char* row, unsigned long pixelCount);
    void Flush();

    const TiffHeaderInfo& GetTiffHeaderInfo() const { return mHeaderInfo; }
    bool Failed() const;
    std::uint64_t RowBytes() const { return mRowBytes; }

  private:
    std::unique_ptr<TiffFilter> mFilter;
    TiffHeaderInfo mHeaderInfo;
    unsigned long mSamplesPerPixel;
    bool mFinished = false;
    bool mHeaderWritten = false;
    bool mFailed = false;
    unsigned long mWidth;
    unsigned long mHeight;
    unsigned long mRowsWritten = 0;
    std::uint64_t mRowBytes;
};

}  // namespace QuillonCore
