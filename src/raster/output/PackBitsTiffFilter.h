#pragma once
// PackBits compression (32773), one row per strip; Finish patches the strip
// offsets and byte counts into the header.

#include <vector>

#include "raster/output/PackBitsEncoder.h"
#include "raster/output/StripTable.h"
#include "raster/output/TiffFilter.h"

namespace QuillonCore {

class PackBitsTiffFilter : public TiffFilter {
  public:
    explicit PackBitsTiffFilter(std::unique_ptr<TiffOutStream> stream)
        : TiffFilter(std::move(stream), kTifCompressionPackBits) {}

  protected:
    bool Encode(const unsigned char* row, std::size_t byteCount,
                unsigned long samplesPerPixel) override;
    bool Complete(TiffWriter& writer) override;

  private:
    PackBitsEncoder mEncoder;
    std::vector<unsigned char> mPacked;
    StripTable mStrips;
};

}  // namespace QuillonCore
