#pragma once
// What the structure parser takes from a TIFF header and its first image
// file directory. Values are kept as stored (unsigned 32-bit); the reader
// validates them when it lays out the strips.

#include <cstdint>
#include <string>
#include <vector>

namespace QuillonCore {

struct TiffDirectory {
    bool bigEndian = false;
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::uint32_t bitsPerSample = 1;
    std::uint32_t samplesPerPixel = 1;
    std::uint32_t compression = 1;
    int photometric = -1;
    std::uint32_t planarConfiguration = 1;
    std::uint32_t rowsPerStrip = 1000000;
    std::uint32_t predictor = 1;
    std::uint32_t fillOrder = 1;
    std::uint32_t t4Options = 0;
    bool resolutionUnitCm = false;
    // Pixels per resolution unit; a zero numerator means none was found.
    std::uint32_t resolutionNumerator = 0;
    std::uint32_t resolutionDenominator = 1;
    std::vector<std::uint32_t> stripOffsets;
    std::vector<std::uint32_t> stripByteCounts;
    // 256 colours R x 65536 + G x 256 + B (high bytes of the map); empty without a usable ColorMap.
    std::vector<std::uint32_t> palette;
    std::string imageId;
    bool hasInkNames = false;
    std::string inkNames;  // the raw ASCII bytes, names separated by NULs
    std::vector<std::uint32_t> cmykEquivalent;
    std::vector<unsigned char> photoshopResources;
    std::vector<unsigned char> iccProfile;
};

}  // namespace QuillonCore
