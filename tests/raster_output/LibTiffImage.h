#pragma once
// A TIFF file in memory as libtiff reads it: the fields the writer sets, the
// rows through TIFFReadScanline, and every warning or error libtiff said.

#include <cstdint>
#include <string>
#include <vector>

namespace QuillonTest {

struct LibTiffImage {
    bool opened = false;
    std::vector<std::string> diagnostics;
    std::uint32_t width = 0, height = 0, rowsPerStrip = 0;
    std::uint16_t samplesPerPixel = 0, bitsPerSample = 0, photometric = 0, compression = 0,
                  predictor = 0;
    std::uint16_t resolutionUnit = 0, orientation = 0;
    float xResolution = 0;
    std::vector<std::uint16_t> extraSamples;
    std::string inkNames, software, description;
    std::vector<unsigned char> cmykEquivalent, photoshop;
    std::vector<std::vector<unsigned char>> rows;
    std::vector<std::uint32_t> rgba;  // TIFFReadRGBAImage's picture, when asked for (then no rows)

    static LibTiffImage Read(const std::vector<unsigned char>& file, bool withRgba = false);
    static LibTiffImage ReadFile(const std::string& path, bool withRgba = false);
};

}  // namespace QuillonTest
