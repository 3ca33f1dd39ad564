#include "raster_output/WrittenTiff.h"

#include <random>

#include "platform/velsys/FileIO.h"
#include "raster/output/FileIOTiffOutStream.h"
#include "raster/output/LzwTiffFilter.h"
#include "raster/output/NoCompressionTiffFilter.h"
#include "raster/output/PackBitsTiffFilter.h"
#include "raster/output/TiffWriter.h"

namespace QuillonTest {

using namespace QuillonCore;

std::unique_ptr<TiffFilter> MakeFilter(tifcompression compression,
                                       std::unique_ptr<TiffOutStream> stream) {
    switch (compression) {
        case kTifCompressionLzw:
            return std::make_unique<LzwTiffFilter>(std::move(stream));
        case kTifCompressionPackBits:
            return std::make_unique<PackBitsTiffFilter>(std::move(stream));
        default:
            return std::make_unique<NoCompressionTiffFilter>(std::move(stream));
    }
}

std::vector<std::vector<unsigned char>> PatternRows(std::size_t rowBytes, std::size_t rows,
                                                    unsigned seed) {
    std::mt19937 random(seed);
    std::vector<std::vector<unsigned char>> out(rows, std::vector<unsigned char>(rowBytes));
    for (std::size_t y = 0; y < rows; ++y) {
        for (std::size_t x = 0; x < rowBytes; ++x) {
            const std::size_t band = (x * 8 / (rowBytes ? rowBytes : 1) + y) % 4;
            const unsigned ramp = static_cast<unsigned>(x + 3 * y);
            out[y][x] = static_cast<unsigned char>(band == 0   ? ramp
                                                   : band == 1 ? 0x55
                                                   : band == 2 ? random()
                                                               : ramp / 7);
        }
    }
    return out;
}

WrittenTiff WrittenTiff::Write(const TiffSpec& spec,
                               const std::vector<std::vector<unsigned char>>& rows) {
    VelSys::FileIO sink;
    WrittenTiff result;
    {
        TiffWriter writer(
            MakeFilter(spec.compression, std::make_unique<FileIOTiffOutStream>(sink, spec.order)),
            spec.width, spec.height, spec.bits, spec.samples, spec.colorspace,
            spec.resolutionNumerator, spec.resolutionDenominator, spec.centimetre, 1,
            spec.clippingPath, spec.horizontalOrigin, spec.verticalOrigin, spec.software,
            spec.description);
        for (const auto& row : rows) writer.Write(row.data(), spec.width);
        writer.Flush();
        result.failed = writer.Failed();
    }
    result.bytes = sink.contents();
    return result;
}

}  // namespace QuillonTest
