#pragma once
// The TIFF tags the reader takes and the writer writes (TIFF 6.0 numbering,
// plus the TIFF/IT and vendor tags named here).

#include <cstdint>

namespace QuillonCore {

enum TiffTag : std::uint16_t {
    kNewSubfileType = 254,
    kImageWidth = 256,
    kImageLength = 257,
    kBitsPerSample = 258,
    kCompression = 259,
    kPhotometric = 262,
    kFillOrder = 266,
    kImageDescription = 270,
    kStripOffsets = 273,
    kOrientation = 274,
    kSamplesPerPixel = 277,
    kRowsPerStrip = 278,
    kStripByteCounts = 279,
    kXResolution = 282,
    kYResolution = 283,
    kPlanarConfiguration = 284,
    kT4Options = 292,
    kResolutionUnit = 296,
    kSoftware = 305,
    kPredictor = 317,
    kColorMap = 320,
    kInkNames = 333,
    kExtraSamples = 338,
    kImageId = 32781,
    kCmykEquivalent = 34032,
    kPhotoshop = 34377,
    kIccProfile = 34675,
};

}  // namespace QuillonCore
