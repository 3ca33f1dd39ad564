#pragma once
// Writes rows as they are (compression 1): the whole image is one strip.

#include "raster/output/TiffFilter.h"

namespace QuillonCore {

class NoCompressionTiffFilter : public TiffFilter {
  public:
    explicit NoCompressionTiffFilter(std::unique_ptr<TiffOutStream> stream)
        : TiffFilter(std::move(stream), kTifCompressionNone) {}

  protected:
    bool Encode(const unsigned char* row, std::size_t byteCount,
                unsigned long samplesPerPixel) override;
    bool Complete(TiffWriter& writer) override;
};

}  // namespace QuillonCore
