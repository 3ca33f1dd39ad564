#pragma once
// Writes the header of a single-image TIFF file: byte order mark, the
// BitsPerSample and resolution values, the image file directory and every
// metadata block (strip arrays, Software, Photoshop resources, InkNames,
// CMYKEquivalent, ImageDescription, ExtraSamples). The image data follows
// the header; the strip values are placeholders until the filter patches
// them, at the positions left in headerInfo.
//
// Offsets are counted from the stream position where the header starts.
// Returns false, writing nothing, when the parameters cannot make a valid
// file: an empty image, an interpretation other than 0, 1, 2 or 5, too few
// samples for it, a bit depth other than 1, 2, 4, 8 or 16, or more data
// than a classic TIFF can address. Also false when a write failed.

#include <string>

#include "raster/output/ColorspaceInfo.h"
#include "raster/output/TiffHeaderInfo.h"
#include "raster/output/TiffOutStream.h"
#include "raster/output/tifcompression.h"

namespace VelDB {
class Object;
}

namespace QuillonCore {

struct lzwouttyp;

bool TiffOutputHeader(TiffOutStream& stream, int width, int height, int bitsPerSample,
                      int samplesPerPixel, const ColorspaceInfo& colorspace,
                      int resolutionNumerator, int resolutionDenominator, int centimetre,
                      int orientation, tifcompression compression, lzwouttyp* encoder,
                      const VelDB::Object* clippingPath, int verticalOrigin, int horizontalOrigin,
                      const std::string& software, TiffHeaderInfo& headerInfo,
                      const std::string& description);

// Bytes of one row: ceil(width x samples x bits / 8); 0 when that overflows.
std::uint64_t TiffRowBytes(std::uint64_t width, std::uint64_t samplesPerPixel,
                           std::uint64_t bitsPerSample);

// 2 (horizontal differencing) for LZW with 8-bit samples and 1 to 64 of
// them per pixel, else 1.
int TiffPredictorFor(tifcompression compression, int bitsPerSample, int samplesPerPixel);

}  // namespace QuillonCore
