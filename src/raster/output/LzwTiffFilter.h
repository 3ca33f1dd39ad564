#pragma once
// LZW compression (5), one row per strip, through the LZW encoder. The
// encoder writes to the same file as the filter's stream, so the stream must
// be a FilTiffOutStream or a FileIOTiffOutStream.

#include "raster/output/TiffFilter.h"
#include "raster/output/lzwouttyp.h"

namespace QuillonCore {

class LzwTiffFilter : public TiffFilter {
  public:
    // Throws std::logic_error for any other kind of stream.
    explicit LzwTiffFilter(std::unique_ptr<TiffOutStream> stream);
    ~LzwTiffFilter() override;

    // Null once finished.
    lzwouttyp* Getlzwouttyp() { return mEncoder; }

  protected:
    bool Encode(const unsigned char* row, std::size_t byteCount,
                unsigned long samplesPerPixel) override;
    bool Complete(TiffWriter& writer) override;

  private:
    lzwouttyp* mEncoder;  // owned; tiflzwoutexi deletes it
};

}  // namespace QuillonCore
