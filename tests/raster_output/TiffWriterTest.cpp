#include <gtest/gtest.h>

#include <random>

#include "raster/output/FileIOTiffOutStream.h"
#include "raster/output/TiffOutputHeader.h"
#include "raster/output/TiffWriter.h"
#include "raster_output/FailingTargets.h"
#include "raster_output/LibTiffImage.h"
#include "raster_output/WrittenTiff.h"

using namespace QuillonCore;
using namespace QuillonTest;

namespace {

using Bytes = std::vector<unsigned char>;

std::uint32_t le32(const Bytes& b, std::size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}
std::uint16_t le16(const Bytes& b, std::size_t at) {
    return static_cast<std::uint16_t>(b[at] | b[at + 1] << 8);
}

// The value field of a tag in a little-endian file's first directory.
std::uint32_t entryValue(const Bytes& file, std::uint16_t tag) {
    const std::uint32_t ifd = le32(file, 4);
    for (std::uint16_t i = 0; i < le16(file, ifd); ++i) {
        const std::size_t entry = ifd + 2 + 12 * i;
        if (le16(file, entry) == tag) return le32(file, entry + 8);
    }
    ADD_FAILURE() << "no tag " << tag;
    return 0;
}

const tifcompression kCompressions[] = {kTifCompressionNone, kTifCompressionLzw,
                                        kTifCompressionPackBits};

}  // namespace

TEST(TiffWriter, UncompressedRgbLayout) {
    TiffSpec spec;
    spec.width = 2;
    spec.height = 3;
    spec.samples = 3;
    spec.colorspace = ColorspaceInfo(2);
    spec.software = "QuillonCore";
    const auto rows = PatternRows(6, 3);
    const Bytes file = WrittenTiff::Write(spec, rows).bytes;
    EXPECT_EQ(le32(file, 4), 30u);
    EXPECT_EQ(le16(file, 30), 16u) << "no Predictor without LZW";
    const std::uint32_t afterIfd = 30 + 2 + 16 * 12 + 4;
    EXPECT_EQ(entryValue(file, 305), afterIfd);
    EXPECT_EQ(entryValue(file, 273), afterIfd + spec.software.size() + 1);
    EXPECT_EQ(entryValue(file, 279), 18u);
    EXPECT_EQ(file.size(), afterIfd + spec.software.size() + 1 + 18);
    EXPECT_EQ(entryValue(file, 258), 8u) << "BitsPerSample values at offset 8";
}

// One-row images keep their single strip's offset and byte count in the
// directory entries, where the compressing filters patch them.
TEST(TiffWriter, SingleRowImagesOfEveryCompression) {
    for (tifcompression compression : kCompressions) {
        TiffSpec spec;
        spec.width = 300;
        spec.compression = compression;
        const auto rows = PatternRows(300, 1);
        const WrittenTiff written = WrittenTiff::Write(spec, rows);
        EXPECT_FALSE(written.failed);
        const std::uint32_t offset = entryValue(written.bytes, 273),
                            count = entryValue(written.bytes, 279);
        EXPECT_LE(offset + count, written.bytes.size());
        const LibTiffImage image = LibTiffImage::Read(written.bytes);
        EXPECT_TRUE(image.diagnostics.empty());
        EXPECT_EQ(image.rows, rows) << compression;
    }
}

TEST(TiffWriter, SpotChannelNamesGoIntoUnicodeAlphaNames) {
    TiffSpec spec;
    spec.samples = 6;
    spec.colorspace = ColorspaceInfo(5);
    for (const char* name : {"C", "M", "Y", "K", "Blau", "Grün"}) {
        SeparationInfo separation;
        separation.setName(name);
        spec.colorspace.addSeparation(separation);
    }
    const Bytes photoshop =
        LibTiffImage::Read(WrittenTiff::Write(spec, {Bytes(6, 1)}).bytes).photoshop;
    const Bytes expected = {
        '8', 'B', 'I', 'M', 0x04, 0x15, 0, 0,   0, 0,    0, 28,          // id 1045, 28 bytes
        0,   0,   0,   5,   0,    'B',  0, 'l', 0, 'a',  0, 'u', 0, 0,   // "Blau"
        0,   0,   0,   5,   0,    'G',  0, 'r', 0, 0xFC, 0, 'n', 0, 0};  // "Grün"
    EXPECT_EQ(photoshop, expected);
}

// Parameters that cannot make a valid TIFF: nothing is written, Write
// refuses, Failed() says so.
TEST(TiffWriter, InvalidParametersWriteNothing) {
    struct Case {
        const char* what;
        unsigned long width, height, bits, samples;
        int interpretation;
    };
    const Case cases[] = {
        {"palette without a colour map", 4, 4, 8, 1, 3},
        {"unknown interpretation", 4, 4, 8, 1, -1},
        {"RGB with one sample", 4, 4, 8, 1, 2},
        {"CMYK with three samples", 4, 4, 8, 3, 5},
        {"3-bit samples", 4, 4, 3, 1, 1},
        {"no width", 0, 4, 8, 1, 1},
        {"no height", 4, 0, 8, 1, 1},
        {"more than 4 GiB of data", 70000, 70000, 8, 1, 1},
    };
    for (const Case& c : cases) {
        for (tifcompression compression : kCompressions) {
            VelSys::FileIO sink;
            TiffWriter writer(
                MakeFilter(compression, std::make_unique<FileIOTiffOutStream>(sink, 1)), c.width,
                c.height, c.bits, c.samples, ColorspaceInfo(c.interpretation), 72, 1, 0, 1, nullptr,
                0, 0, "x", "");
            const Bytes row(64, 0);
            EXPECT_FALSE(writer.Write(row.data(), c.width));
            writer.Flush();
            EXPECT_TRUE(writer.Failed()) << c.what;
            EXPECT_TRUE(sink.contents().empty()) << c.what;
        }
    }
}

// Rows beyond the height are refused and leave a sound file; missing rows,
// or rows after Flush, are a failure.
TEST(TiffWriter, RowCountIsEnforced) {
    for (tifcompression compression : kCompressions) {
        SCOPED_TRACE(compression);
        const auto rows = PatternRows(8, 3);
        VelSys::FileIO sink;
        {
            TiffWriter writer(
                MakeFilter(compression, std::make_unique<FileIOTiffOutStream>(sink, 1)), 8, 2, 8, 1,
                ColorspaceInfo(1), 72, 1, 0, 1, nullptr, 0, 0, "Software text", "");
            EXPECT_TRUE(writer.Write(rows[0].data(), 8));
            EXPECT_FALSE(writer.Write(rows[0].data(), 7)) << "not whole rows";
            EXPECT_FALSE(writer.Write(rows[1].data(), 16)) << "two rows where one is left";
            EXPECT_TRUE(writer.Write(rows[1].data(), 8));
            EXPECT_FALSE(writer.Write(rows[2].data(), 8));
            writer.Flush();
            EXPECT_FALSE(writer.Failed());
            EXPECT_FALSE(writer.Write(rows[2].data(), 8)) << "after Flush";
        }
        const LibTiffImage image = LibTiffImage::Read(sink.contents());
        EXPECT_TRUE(image.diagnostics.empty());
        EXPECT_EQ(image.software, "Software text");
        EXPECT_EQ(image.rows, (std::vector<Bytes>{rows[0], rows[1]}));

        VelSys::FileIO shortSink;
        TiffWriter incomplete(
            MakeFilter(compression, std::make_unique<FileIOTiffOutStream>(shortSink, 1)), 8, 2, 8,
            1, ColorspaceInfo(1), 72, 1, 0, 1, nullptr, 0, 0, "", "");
        EXPECT_TRUE(incomplete.Write(rows[0].data(), 8));
        incomplete.Flush();
        EXPECT_TRUE(incomplete.Failed());
    }
}

// A target that fails after N bytes, for N across the header, the rows and
// the patching: a Write returns false or Failed() reports it; never success.
TEST(TiffWriter, TargetFailingAfterNBytesIsNeverReportedAsSuccess) {
    const std::size_t width = 600, height = 300;
    auto rows = PatternRows(width, height, 5);
    std::mt19937 random(9);
    for (auto& row : rows)
        for (auto& b : row)
            b = static_cast<unsigned char>(random());  // noise: more than 128 KiB in any form
    for (tifcompression compression : kCompressions) {
        TiffSpec spec;
        spec.width = width;
        spec.height = height;
        spec.compression = compression;
        const std::size_t size = WrittenTiff::Write(spec, rows).bytes.size();
        for (std::size_t limit :
             {std::size_t{0}, std::size_t{7}, std::size_t{100}, size / 3, size - 9, size - 1}) {
            SCOPED_TRACE(std::to_string(compression) + " limit " + std::to_string(limit));
            std::unique_ptr<TiffOutStream> stream;
            FailingFileIO io(limit);
            if (compression == kTifCompressionLzw)
                stream = std::make_unique<FileIOTiffOutStream>(io, 0);
            else
                stream = std::make_unique<FailingTiffOutStream>(0, limit);
            TiffWriter writer(MakeFilter(compression, std::move(stream)), width, height, 8, 1,
                              ColorspaceInfo(1), 72, 1, 0, 1, nullptr, 0, 0, spec.software, "");
            bool allWritten = true;
            for (const auto& row : rows) allWritten = writer.Write(row.data(), width) && allWritten;
            writer.Flush();
            EXPECT_TRUE(writer.Failed());
            if (limit <= size / 3) {
                EXPECT_FALSE(allWritten);
            }
        }
    }
}
