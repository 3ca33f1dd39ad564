#pragma once
// Writes a test image with TiffWriter into memory and keeps the bytes.

#include <memory>
#include <string>
#include <vector>

#include "raster/output/ColorspaceInfo.h"
#include "raster/output/TiffFilter.h"
#include "raster/output/TiffOutStream.h"
#include "raster/output/tifcompression.h"

namespace VelDB {
class Object;
}

namespace QuillonTest {

struct TiffSpec {
    unsigned long width = 1, height = 1, bits = 8, samples = 1;
    QuillonCore::ColorspaceInfo colorspace{1};
    QuillonCore::tifcompression compression = QuillonCore::kTifCompressionNone;
    QuillonCore::TiffOutStream::ByteOrder order = QuillonCore::TiffOutStream::kLittleEndian;
    unsigned long resolutionNumerator = 300, resolutionDenominator = 1;
    long centimetre = 0;
    const VelDB::Object* clippingPath = nullptr;
    long verticalOrigin = 0, horizontalOrigin = 0;
    std::string software = "QuillonCore test", description;
};

// The filter for a compression, over a stream of a memory sink.
std::unique_ptr<QuillonCore::TiffFilter> MakeFilter(
    QuillonCore::tifcompression compression, std::unique_ptr<QuillonCore::TiffOutStream> stream);

// Rows of varied content: smooth ramps, runs and noise, seeded by the row.
std::vector<std::vector<unsigned char>> PatternRows(std::size_t rowBytes, std::size_t rows,
                                                    unsigned seed = 1);

struct WrittenTiff {
    std::vector<unsigned char> bytes;
    bool failed = true;

    static WrittenTiff Write(const TiffSpec& spec,
                             const std::vector<std::vector<unsigned char>>& rows);
};

}  // namespace QuillonTest
