#pragma once
// Converts an image the library can read into a TIFF file: all samples of
// each pixel (palette images as RGB through the preview), with the same
// interpretation, separations, extra channel names, resolution and clipping
// path. Used by `quillon convert` and the demo.

#include <string>

#include "raster/output/TiffOutStream.h"
#include "raster/output/tifcompression.h"

namespace Quillon {

struct TiffConversionOptions {
    QuillonCore::tifcompression compression = QuillonCore::kTifCompressionLzw;
    QuillonCore::TiffOutStream::ByteOrder byteOrder = QuillonCore::TiffOutStream::kLittleEndian;
    std::string software = "QuillonCore";
    std::string description;
};

class TiffConversion {
  public:
    // False with a message in error when IN cannot be read or OUT written.
    static bool Convert(const std::string& in, const std::string& out,
                        const TiffConversionOptions& options, std::string& error);
};

}  // namespace Quillon
