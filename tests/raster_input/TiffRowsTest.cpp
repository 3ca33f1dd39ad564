// Row decoding of the TIFF reader on small files built here: PackBits,
// LZW with its predictor, 16-bit and 1-bit samples, strips, refusals.

#include <gtest/gtest.h>

#include "LzwCodeWriter.h"
#include "MemoryTiff.h"
#include "TiffBuilder.h"

using QuillonTest::LzwCodeWriter;
using QuillonTest::MemoryTiff;
using QuillonTest::TiffBuilder;
using Bytes = std::vector<unsigned char>;

namespace {

const std::vector<std::string> kUnsupported = {"CANNOT READ THIS FILE. UNSUPPORTED COLORSPACE"};
const std::vector<std::string> kCannotRead = {"CANNOT READ TIFF FILE"};

Bytes grayFile(int width, int height, int compression, std::vector<Bytes> strips,
               int photometric = 1) {
    TiffBuilder b;
    b.image(width, height, 1, 8, photometric, compression, std::move(strips));
    return b.build();
}

TEST(TiffRows, PackBitsRunsLiteralsAndNoOps) {
    MemoryTiff tiff(grayFile(6, 1, 32773, {{0x80, 0xFE, 0x41, 0x02, 0x61, 0x62, 0x63}}), -3);
    EXPECT_EQ(tiff.row(6), (Bytes{0x41, 0x41, 0x41, 0x61, 0x62, 0x63}));
    EXPECT_TRUE(tiff.said().empty());
}

// A literal or run that passes the row's end is cut there; the next row
// still starts at the right byte.
TEST(TiffRows, PackBitsOverrunsStayInTheRow) {
    MemoryTiff tiff(grayFile(2, 2, 32773, {{0x02, 1, 2, 3, 0xFD, 9, 0x01, 7, 8}}), -3);
    EXPECT_EQ(tiff.row(2), (Bytes{1, 2}));
    EXPECT_EQ(tiff.row(2), (Bytes{9, 9}));
    // The overlong run took the second row; nothing was written outside it.
    EXPECT_TRUE(tiff.said().empty());
}

TEST(TiffRows, PackBitsAtTheEndOfTheDataZeroFillsAndTellsOnce) {
    MemoryTiff tiff(grayFile(4, 2, 32773, {{0x01, 5, 6}}), -3);
    EXPECT_EQ(tiff.row(4), (Bytes{5, 6, 0, 0}));
    EXPECT_EQ(tiff.delivered, 1);
    EXPECT_EQ(tiff.said(), std::vector<std::string>{"ERROR IN FILE FORMAT"});
    EXPECT_EQ(tiff.reader.pixrealin(nullptr, 0), 0);
}

TEST(TiffRows, UncompressedRowsCutShortAreZeroFilledAndTold) {
    MemoryTiff tiff(grayFile(4, 1, 1, {{5, 6}}), -3);
    EXPECT_EQ(tiff.row(4), (Bytes{5, 6, 0, 0}));
    EXPECT_EQ(tiff.said(), kCannotRead);
}

TEST(TiffRows, LzwHorizontalPredictor) {
    TiffBuilder b;
    b.image(3, 1, 1, 8, 1, 5, {LzwCodeWriter::literals({10, 5, 250})}).shorts(317, {2});
    for (int selector : {-3, -4}) {
        MemoryTiff tiff(b.build(), selector);
        EXPECT_EQ(tiff.row(3), (Bytes{10, 15, 9}));
    }
}

TEST(TiffRows, LzwHorizontalPredictorOf16BitSamplesCarries) {
    TiffBuilder b;  // little-endian 0x00FF, then a difference of 0x0001
    b.image(2, 1, 1, 16, 1, 5, {LzwCodeWriter::literals({0xFF, 0x00, 0x01, 0x00})})
        .shorts(317, {2});
    MemoryTiff tiff(b.build(), -3);
    EXPECT_EQ(tiff.row(2), (Bytes{0x00, 0x01}));
}

// Strips: 3 rows in strips of 2 and 1 (the second strip stored first).
TEST(TiffRows, RowsComeFromTheirStrips) {
    TiffBuilder b;
    b.image(1, 3, 1, 8, 1, 1, {{1, 2}, {3}});
    MemoryTiff tiff(b.build(), -3);
    EXPECT_EQ(tiff.row(1), Bytes{1});
    EXPECT_EQ(tiff.row(1), Bytes{2});
    EXPECT_EQ(tiff.row(1), Bytes{3});
    EXPECT_EQ(tiff.reader.pixrealin(nullptr, 0), 0);
}

// An LZW strip that decodes to less than its rows gives zero rows and a message.
TEST(TiffRows, ShortLzwStripsAreZeroFilled) {
    TiffBuilder b;
    b.image(2, 2, 1, 8, 1, 5, {LzwCodeWriter::literals({7, 8, 9})});
    MemoryTiff tiff(b.build(), -3);
    EXPECT_EQ(tiff.row(2), (Bytes{7, 8}));
    EXPECT_EQ(tiff.row(2), (Bytes{9, 0}));
    EXPECT_EQ(tiff.said(), kCannotRead);
}

// An invalid LZW code is thrown as the int 1; that strip's rows come out
// empty and the next strip decodes cleanly.
TEST(TiffRows, AnInvalidLzwCodeGivesUpItsStripOnly) {
    LzwCodeWriter bad;
    bad.code(LzwCodeWriter::kClear);
    bad.code(300);
    TiffBuilder b;
    b.image(2, 2, 1, 8, 1, 5, {bad.bytes(), LzwCodeWriter::literals({3, 4})});
    MemoryTiff tiff(b.build(), -3);
    Bytes row(2);
    EXPECT_THROW(tiff.reader.pixrealin(row.data(), 2), int);
    EXPECT_EQ(tiff.row(2), (Bytes{0, 0}));
    EXPECT_EQ(tiff.row(2), (Bytes{3, 4}));
    EXPECT_EQ(tiff.reader.pixrealin(row.data(), 2), 0);
}

struct LayoutCase {
    int photometric, spp, bits;
    Bytes stored;
    int selector;
    Bytes expected;
};

// The layout conventions, one pixel each.
TEST(TiffRows, LayoutConventions) {
    const LayoutCase cases[] = {
        {0, 1, 8, {0}, -3, {255}},  // WhiteIsZero gray is luminance
        {0, 1, 8, {0}, -1, {0, 255, 255, 255}},
        {1, 1, 8, {255}, -1, {0, 255, 255, 255}},
        {0, 2, 8, {0, 10}, -4, {255, 245}},  // every sample inverted
        {2, 4, 8, {1, 2, 3, 4}, -3, {1, 2, 3}},
        {2, 4, 8, {1, 2, 3, 4}, 3, {251}},     // RGB channels are inverted
        {5, 5, 8, {1, 2, 3, 4, 5}, 2, {252}},  // process channels: 255 - ink
        {5, 5, 8, {1, 2, 3, 4, 5}, 4, {5}},    // extra channels as stored
        {5, 4, 16, {0x34, 0x12, 0, 0, 0, 0, 0, 0}, -3, {0x12, 0, 0, 0}},
        {5, 4, 1, {0xA0}, -4, {255, 0, 255, 0}},  // 1-bit CMYK as ink bytes
        {5, 4, 1, {0xA0}, 0, {0}},
        {0, 1, 1, {0x80}, -3, {0}},  // a set bit is black in WhiteIsZero
        {1, 1, 1, {0x80}, -1, {255, 255, 255, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("photometric " + std::to_string(c.photometric) + " spp " +
                     std::to_string(c.spp) + " bits " + std::to_string(c.bits) + " selector " +
                     std::to_string(c.selector));
        TiffBuilder b;
        b.image(1, 1, c.spp, c.bits, c.photometric, 1, {c.stored});
        MemoryTiff tiff(b.build(), c.selector);
        ASSERT_EQ(tiff.result, 2) << testing::PrintToString(tiff.said());
        EXPECT_EQ(tiff.row(c.expected.size()), c.expected);
    }
}

struct RefusalCase {
    const char* what;
    int photometric, spp, bits, compression, selector;
    std::vector<std::string> message;
};

TEST(TiffRows, Refusals) {
    const RefusalCase cases[] = {
        {"channel beyond the samples", 2, 3, 8, 1, 4, kUnsupported},
        {"channel beyond the samples, compressed", 2, 3, 8, 32773, 3, kUnsupported},
        {"RGB with one sample", 2, 1, 8, 1, -3, kUnsupported},
        {"CMYK with three samples", 5, 3, 8, 5, -3, kUnsupported},
        {"1-bit CMYK run list", 5, 4, 1, 1, -2, kUnsupported},
        {"1-bit CMYK composite", 5, 4, 1, 1, -3, kUnsupported},
        {"4-bit gray", 1, 1, 4, 1, -3, kUnsupported},
        {"4-bit gray, compressed", 1, 1, 4, 32773, -3, kCannotRead},
        {"palette channel", 3, 1, 8, 1, 0, kUnsupported},
        {"CCITT colour", 2, 3, 8, 4, -3, kCannotRead},
        {"Deflate", 1, 1, 8, 8, -3, kCannotRead},
        {"ThunderScan", 1, 1, 8, 32809, -3, kCannotRead},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TiffBuilder b;
        b.image(1, 1, c.spp, c.bits, c.photometric, c.compression, {Bytes(8, 0)});
        MemoryTiff tiff(b.build(), c.selector);
        EXPECT_EQ(tiff.result, 1);
        EXPECT_EQ(tiff.said(), c.message);
    }
}

TEST(TiffRows, RefusedTagCombinations) {
    const std::vector<std::pair<TiffBuilder, std::vector<std::string>>> cases = {
        {TiffBuilder().image(1, 1, 3, 8, 2, 1, {Bytes(3)}).shorts(284, {2}),
         kUnsupported},  // planar
        {TiffBuilder().image(1, 1, 1, 8, 1, 5, {Bytes(3)}).shorts(317, {3}),
         kCannotRead},  // predictor 3
        {TiffBuilder().image(8, 1, 1, 1, 0, 5, {Bytes(3)}).shorts(317, {2}),
         kCannotRead},  // 1-bit predictor
        {TiffBuilder().image(8, 1, 1, 1, 0, 3, {Bytes(3)}).longs(292, {1}),
         kCannotRead},  // 2-D Group 3
        {TiffBuilder().image(8, 1, 1, 1, 0, 5, {{0x00, 0x01, 0x02}}),
         kCannotRead},  // old-style LZW
    };
    for (const auto& [builder, message] : cases) {
        MemoryTiff tiff(builder.build(), -3);
        EXPECT_EQ(tiff.result, 1);
        EXPECT_EQ(tiff.said(), message);
    }
}

TEST(TiffRows, RunListsThatDoNotFitAreTold) {
    MemoryTiff tiff(grayFile(3, 1, 1, {{0, 255, 0}}), -2);
    Bytes runs(12);
    EXPECT_EQ(tiff.reader.pixrealin(runs.data(), 12), 1);
    EXPECT_EQ(tiff.said(), std::vector<std::string>{"OUT OF MEMORY"});
}

}  // namespace
