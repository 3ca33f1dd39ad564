// JPEG compression (jpeghandler, psjpeghandler): what we write decodes back
// to the source, through our reader and through djpeg, within JPEG's loss.

#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <stdexcept>

#include "platform/velsys/fil.h"
#include "raster/output/jpeghandler.h"
#include "raster/output/psjpeghandler.h"
#include "support/JpegTestFiles.h"
#include "support/TestSupport.h"

using namespace QuillonCore;
using namespace QuillonTest;

namespace {

// Mean absolute difference per sample allowed between a source and its JPEG
// at quality 85 (measured about 1.2 for these files).
constexpr double kMaxMeanDifference = 2.5;

struct Source {
    const char* file;
    int colourType;
    int components;
};

const Source kSources[] = {
    {"jpeg-gray.jpg", 1, 1}, {"jpeg-testorig.jpg", 2, 3}, {"jpeg-cmyk.jpg", 5, 4}};

// Compresses composite rows (luminance, RGB or ink) through a jpeghandler,
// fed in the handler's convention (gray and RGB inverted).
std::vector<unsigned char> compress(const DecodedJpeg& image, const Source& source, int numerator,
                                    int denominator, bool perInch) {
    VelSys::fil out;
    out.createMemory();
    jpeghandler handler(&out, source.colourType, image.columns, image.rows, numerator, denominator,
                        85, perInch);
    EXPECT_EQ(handler.startcompression(), 0);
    for (unsigned char sample : image.pixels)
        EXPECT_EQ(handler.handlebyte(
                      source.colourType == 5 ? sample : static_cast<unsigned char>(255 - sample)),
                  0);
    EXPECT_EQ(handler.endcompression(), 0);
    return out.contents();
}

std::vector<unsigned char> djpegSamples(const std::vector<unsigned char>& jpeg) {
    const std::string in = tempPath("in.jpg"), out = tempPath("out.pnm");
    std::ofstream(in, std::ios::binary)
        .write(reinterpret_cast<const char*>(jpeg.data()), jpeg.size());
    if (std::system(("djpeg -pnm -outfile '" + out + "' '" + in + "'").c_str()) != 0) return {};
    return pnmSamples(out);
}

}  // namespace

TEST(JpegCompression, WhatWeWriteDecodesToTheSource) {
    for (const Source& source : kSources) {
        SCOPED_TRACE(source.file);
        const DecodedJpeg original =
            decodeJpeg(fileBytes(dataPath(source.file)), -3, source.components);
        ASSERT_EQ(original.result, 0);
        const auto jpeg = compress(original, source, 7200, 100, true);
        const DecodedJpeg back = decodeJpeg(jpeg, -3, source.components);
        ASSERT_EQ(back.result, 0);
        EXPECT_EQ(back.interpretation, original.interpretation);
        EXPECT_LE(meanDifference(back.pixels, original.pixels), kMaxMeanDifference);
        EXPECT_EQ(back.numerator, 7200);
        EXPECT_EQ(back.denominator, 100);
        // djpeg reads gray and RGB files (it writes no CMYK PNM).
        if (source.colourType != 5) {
            EXPECT_LE(meanDifference(djpegSamples(jpeg), original.pixels), kMaxMeanDifference);
        }
    }
}

TEST(JpegCompression, DensityFromTheResolution) {
    struct Case {
        int numerator;
        int denominator;
        bool perInch;
        int readNumerator;
        int readDenominator;
    };
    const Case cases[] = {
        {7200, 100, true, 7200, 100},
        {7112, 100, false, 254 * 71, 100},    // 71.12 per cm written as 71
        {30000000, 100, true, 6553500, 100},  // clamped to 16 bits
        {7200, 0, true, 300, 1},              // no usable resolution: no unit
        {-7200, 100, true, 300, 1},
        {0, 1, true, 300, 1},
    };
    const Source gray = kSources[0];
    const DecodedJpeg original = decodeJpeg(fileBytes(dataPath(gray.file)), -3, 1);
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.numerator) + "/" + std::to_string(c.denominator));
        const DecodedJpeg back =
            decodeJpeg(compress(original, gray, c.numerator, c.denominator, c.perInch), -3, 1);
        EXPECT_EQ(back.numerator, c.readNumerator);
        EXPECT_EQ(back.denominator, c.readDenominator);
    }
}

TEST(JpegCompression, RowsAreCompressedAsTheyCompleteAndInputIsInverted) {
    VelSys::fil out;
    out.createMemory();
    jpeghandler handler(&out, 0, 4, 2, 300, 1, 90, true);
    ASSERT_EQ(handler.startcompression(), 0);
    EXPECT_EQ(handler.getSamplesPerPixel(), 1);
    for (int i = 0; i < 3; ++i) handler.handlebyte(0);
    EXPECT_EQ(handler.rowsWritten(), 0);
    handler.handlebyte(0);
    EXPECT_EQ(handler.rowsWritten(), 1);
    for (int i = 0; i < 4; ++i) handler.handlebyte(0);
    ASSERT_EQ(handler.endcompression(), 0);
    const DecodedJpeg back = decodeJpeg(out.contents(), -3, 1);
    EXPECT_EQ(back.pixels, std::vector<unsigned char>(8, 255));
}

TEST(JpegCompression, FailuresAreResultsNotExits) {
    // Rows missing at the end: abandoned, non-zero.
    {
        VelSys::fil out;
        out.createMemory();
        jpeghandler handler(&out, 2, 8, 8, 300, 1, 90, true);
        ASSERT_EQ(handler.startcompression(), 0);
        for (int i = 0; i < 8 * 3 * 3; ++i) handler.handlebyte(1);
        EXPECT_NE(handler.endcompression(), 0);
        EXPECT_NE(handler.endcompression(), 0);
    }
    // Refused colour types and sizes: every step fails.
    for (auto [colourType, width, height] :
         {std::tuple{3, 8, 8}, {7, 8, 8}, {2, 0, 8}, {2, 8, 0}, {1, 70000, 1}}) {
        VelSys::fil out;
        out.createMemory();
        jpeghandler handler(&out, colourType, width, height, 300, 1, 90, true);
        EXPECT_FALSE(handler.isUsable());
        EXPECT_NE(handler.startcompression(), 0);
        EXPECT_NE(handler.handlebyte(0), 0);
        EXPECT_NE(handler.endcompression(), 0);
    }
    // A file that cannot be written.
    {
        VelSys::fil readOnly;
        readOnly.openMemory(std::vector<unsigned char>{});
        jpeghandler handler(&readOnly, 1, 8, 8, 300, 1, 90, true);
        handler.startcompression();
        std::vector<unsigned char> pixels(64, 3);
        handler.handlebytes(pixels.data(), pixels.size());
        EXPECT_NE(handler.endcompression(), 0);
    }
}

namespace {

class ThrowingWriter : public PsJpegWriterBase {
  public:
    void write(const unsigned char*, int) override { throw std::runtime_error("disk full"); }
    void writeText(const char*) override {}
    void patch(int, int) override {}
    int position() const override { return 0; }
};

class CountingWriter : public PsJpegWriterBase {
  public:
    explicit CountingWriter(std::vector<int>& sizes, std::vector<unsigned char>& bytes)
        : mSizes(sizes), mBytes(bytes) {}
    void write(const unsigned char* bytes, int count) override {
        mSizes.push_back(count);
        mBytes.insert(mBytes.end(), bytes, bytes + count);
    }
    void writeText(const char*) override {}
    void patch(int, int) override {}
    int position() const override { return static_cast<int>(mBytes.size()); }

  private:
    std::vector<int>& mSizes;
    std::vector<unsigned char>& mBytes;
};

}  // namespace

TEST(JpegCompression, PostScriptHandlerPassesTheStreamInFiftyByteBlocks) {
    const DecodedJpeg original = decodeJpeg(fileBytes(dataPath("jpeg-testorig.jpg")), -3, 3);
    std::vector<int> sizes;
    std::vector<unsigned char> stream;
    psjpeghandler handler(2, original.columns, original.rows, 7200, 100, 85, true,
                          std::make_unique<CountingWriter>(sizes, stream));
    ASSERT_EQ(handler.startcompression(), 0);
    std::vector<unsigned char> inverted(original.pixels);
    for (auto& b : inverted) b = static_cast<unsigned char>(255 - b);
    handler.wribytes(inverted.data(), original.columns * 3, original.rows);
    ASSERT_EQ(handler.endcompression(), 0);
    ASSERT_GT(sizes.size(), 1u);
    for (std::size_t i = 0; i + 1 < sizes.size(); ++i)
        EXPECT_EQ(sizes[i], psjpeghandler::kBbufferMaxCount);
    EXPECT_LE(meanDifference(decodeJpeg(stream, -3, 3).pixels, original.pixels),
              kMaxMeanDifference);

    psjpeghandler failing(1, 8, 8, 300, 1, 85, true, std::make_unique<ThrowingWriter>());
    failing.startcompression();
    std::vector<unsigned char> pixels(64, 7);
    failing.wribytes(pixels.data(), 8, 8);
    EXPECT_NE(failing.endcompression(), 0);
}
