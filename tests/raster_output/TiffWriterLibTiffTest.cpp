// What the writer produces, read back by libtiff: every colour layout, bit
// depth, compression and byte order gives libtiff's rows equal to ours, the
// tags we set, and not one warning.

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

#include "raster/output/TiffOutputHeader.h"
#include "raster_output/LibTiffImage.h"
#include "raster_output/WrittenTiff.h"
#include "support/TestSupport.h"

using namespace QuillonCore;
using namespace QuillonTest;

namespace {

ColorspaceInfo colorspaceOf(int interpretation, std::vector<std::string> names) {
    ColorspaceInfo colorspace(interpretation);
    unsigned char tint = 10;
    for (const std::string& name : names) {
        SeparationInfo separation;
        separation.setName(name);
        separation.mC = tint;
        separation.mK = static_cast<unsigned char>(255 - tint);
        tint += 40;
        colorspace.addSeparation(separation);
    }
    return colorspace;
}

struct Layout {
    const char* name;
    unsigned long width, bits, samples;
    int interpretation;
    std::vector<std::string> separations;
};

const Layout kLayouts[] = {
    {"gray8", 37, 8, 1, 1, {}},
    {"white-is-zero-1bit", 13, 1, 1, 0, {}},
    {"gray16", 9, 16, 1, 1, {}},
    {"rgb", 21, 8, 3, 2, {}},
    {"cmyk", 16, 8, 4, 5, {}},
    {"cmyk-two-spots",
     11,
     8,
     6,
     5,
     {"Cyan", "Magenta", "Yellow", "Black", "Reflex Blue", "Varnish"}},
    {"gray-two-extra", 15, 8, 3, 1, {"Black", "Spot", "Mask"}},
    {"gray-five-extra", 7, 8, 6, 1, {}},
};

const tifcompression kCompressions[] = {kTifCompressionNone, kTifCompressionLzw,
                                        kTifCompressionPackBits};

TiffSpec specOf(const Layout& layout, tifcompression compression, TiffOutStream::ByteOrder order) {
    TiffSpec spec;
    spec.width = layout.width;
    spec.height = 6;
    spec.bits = layout.bits;
    spec.samples = layout.samples;
    spec.colorspace = colorspaceOf(layout.interpretation, layout.separations);
    spec.compression = compression;
    spec.order = order;
    return spec;
}

// libtiff hands out 16-bit samples in the machine's order (little-endian
// here); the writer stores the caller's bytes as they are.
std::vector<std::vector<unsigned char>> nativeOrder(std::vector<std::vector<unsigned char>> rows,
                                                    TiffOutStream::ByteOrder order) {
    if (order == TiffOutStream::kBigEndian)
        for (auto& row : rows)
            for (std::size_t i = 0; i + 1 < row.size(); i += 2) std::swap(row[i], row[i + 1]);
    return rows;
}

std::string expectedInkNames(const std::vector<std::string>& names) {
    std::string out;
    for (const std::string& name : names) out += name + '\0';
    return out;
}

}  // namespace

TEST(TiffWriterLibTiff, EveryLayoutCompressionAndByteOrderReadsBackEqual) {
    for (const Layout& layout : kLayouts) {
        for (tifcompression compression : kCompressions) {
            for (auto order : {TiffOutStream::kLittleEndian, TiffOutStream::kBigEndian}) {
                SCOPED_TRACE(std::string(layout.name) + " compression " +
                             std::to_string(compression) +
                             (order == TiffOutStream::kLittleEndian ? " II" : " MM"));
                const TiffSpec spec = specOf(layout, compression, order);
                const auto rows =
                    PatternRows(TiffRowBytes(spec.width, spec.samples, spec.bits), spec.height);
                const WrittenTiff written = WrittenTiff::Write(spec, rows);
                ASSERT_FALSE(written.failed);
                EXPECT_EQ(written.bytes[0], order == TiffOutStream::kLittleEndian ? 'I' : 'M');

                const LibTiffImage image = LibTiffImage::Read(written.bytes);
                ASSERT_TRUE(image.opened);
                EXPECT_TRUE(image.diagnostics.empty()) << image.diagnostics.front();
                EXPECT_EQ(image.rows, spec.bits == 16 ? nativeOrder(rows, order) : rows);
                EXPECT_EQ(image.compression, compression);
                EXPECT_EQ(image.bitsPerSample, spec.bits);
                EXPECT_EQ(image.samplesPerPixel, spec.samples);
                EXPECT_EQ(image.photometric, layout.interpretation);
                EXPECT_EQ(image.rowsPerStrip,
                          compression == kTifCompressionNone ? spec.height : 1u);
                EXPECT_EQ(image.predictor,
                          compression == kTifCompressionLzw ? (spec.bits == 8 ? 2 : 1) : 0);
                const int extra = spec.colorspace.ExtraSamples(static_cast<int>(spec.samples));
                EXPECT_EQ(image.extraSamples,
                          std::vector<std::uint16_t>(static_cast<std::size_t>(extra), 0));
                EXPECT_EQ(image.inkNames, expectedInkNames(layout.separations));
                EXPECT_EQ(image.cmykEquivalent.size(), 4 * layout.separations.size());
                EXPECT_EQ(image.photoshop.empty(), !spec.colorspace.hasExtraChannels());
            }
        }
    }
}

// LZW strips that span many table resets, of odd length, with and without
// the predictor (16-bit rows get none).
TEST(TiffWriterLibTiff, LongLzwRowsWithTableResetsReadBackEqual) {
    for (unsigned long bits : {8ul, 16ul}) {
        TiffSpec spec;
        spec.width = 20011;
        spec.height = 3;
        spec.bits = bits;
        spec.compression = kTifCompressionLzw;
        std::vector<std::vector<unsigned char>> rows =
            PatternRows(spec.width * bits / 8, spec.height, 7);
        for (unsigned char& b : rows[1]) b = static_cast<unsigned char>(rand());
        const WrittenTiff written = WrittenTiff::Write(spec, rows);
        ASSERT_FALSE(written.failed);
        const LibTiffImage image = LibTiffImage::Read(written.bytes);
        EXPECT_TRUE(image.diagnostics.empty());
        EXPECT_EQ(image.rows, rows) << bits;
    }
}

TEST(TiffWriterLibTiff, MetadataTextsAndResolution) {
    struct Case {
        std::string software, description, expectedSoftware, expectedDescription;
    };
    const Case cases[] = {
        {"QuillonCore 1.0", "A longer description", "QuillonCore 1.0", "A longer description"},
        {"Qc", "ab", "Qc", "ab"},  // both short enough to sit in the entry
        {"", "", "", ""},          // empty Software still written
        {std::string("ab\0cd", 5), std::string("xy\0z", 4), "ab", "xy"},  // counts stop at the NUL
    };
    for (const Case& c : cases) {
        for (auto order : {TiffOutStream::kLittleEndian, TiffOutStream::kBigEndian}) {
            TiffSpec spec;
            spec.width = 5;
            spec.height = 2;
            spec.order = order;
            spec.software = c.software;
            spec.description = c.description;
            spec.resolutionNumerator = 254;
            spec.resolutionDenominator = 2;
            spec.centimetre = 1;
            spec.colorspace = colorspaceOf(1, {"Ab"});  // one short ink name sits in the entry too
            const auto rows = PatternRows(5, 2);
            const LibTiffImage image = LibTiffImage::Read(WrittenTiff::Write(spec, rows).bytes);
            EXPECT_TRUE(image.diagnostics.empty());
            EXPECT_EQ(image.software, c.expectedSoftware);
            EXPECT_EQ(image.description, c.expectedDescription);
            EXPECT_EQ(image.inkNames, std::string("Ab\0", 3));
            EXPECT_EQ(image.resolutionUnit, 3);
            EXPECT_FLOAT_EQ(image.xResolution, 127.0f);
            EXPECT_EQ(image.rows, rows);
        }
    }
}

// libtiff's own tools on files of every compression: tiffinfo decodes all
// data and says nothing but the description; the only tag it does not know
// is CMYKEquivalent.
TEST(TiffWriterLibTiff, TiffinfoAndTiffdumpReadWithoutComplaint) {
    const Layout& spots = kLayouts[5];
    for (tifcompression compression : kCompressions) {
        for (const Layout* layout : {&kLayouts[3], &spots}) {
            const TiffSpec spec = specOf(*layout, compression, TiffOutStream::kBigEndian);
            const auto rows =
                PatternRows(TiffRowBytes(spec.width, spec.samples, spec.bits), spec.height);
            const std::string path = tempPath("tool.tif");
            const std::vector<unsigned char> bytes = WrittenTiff::Write(spec, rows).bytes;
            std::ofstream(path, std::ios::binary)
                .write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
            for (const std::string tool : {"tiffinfo -D -c -s", "tiffdump"}) {
                const std::string command = tool + " '" + path + "' 2>&1 >/dev/null";
                FILE* pipe = popen(command.c_str(), "r");
                ASSERT_NE(pipe, nullptr);
                std::string said;
                char buffer[512];
                while (fgets(buffer, sizeof buffer, pipe)) said += buffer;
                EXPECT_EQ(pclose(pipe), 0) << command;
                const std::size_t unknownTag = said.find("Unknown field with tag 34032");
                if (layout == &spots && tool[4] == 'i' && unknownTag != std::string::npos)
                    said.erase(said.rfind('\n', unknownTag) + 1, said.find('\n', unknownTag) + 1);
                EXPECT_EQ(said, "") << command;
            }
        }
    }
}
