// The fax decoders on rows coded here code word by code word (T.4 / T.6).

#include <gtest/gtest.h>

#include <cstring>

#include "MemoryTiff.h"
#include "TiffBuilder.h"

using QuillonTest::MemoryTiff;
using QuillonTest::TiffBuilder;
using Bytes = std::vector<unsigned char>;

namespace {

// Code words as bit strings, packed most significant bit first.
Bytes code(std::initializer_list<const char*> words) {
    Bytes out;
    int count = 0;
    for (const char* w : words)
        for (; *w; ++w, ++count) {
            if (count % 8 == 0) out.push_back(0);
            if (*w == '1') out.back() |= static_cast<unsigned char>(0x80 >> (count % 8));
        }
    return out;
}

MemoryTiff fax(int compression, int width, int height, Bytes data, int selector,
               int photometric = 0) {
    TiffBuilder b;
    b.image(width, height, 1, 1, photometric, compression, {std::move(data)});
    return MemoryTiff(b.build(), selector);
}

std::vector<std::int32_t> runs(MemoryTiff& tiff, int width) {
    const Bytes bytes = tiff.row(4 * (static_cast<std::size_t>(width) + 2));
    std::vector<std::int32_t> values;
    for (std::size_t i = 0; i + 4 <= bytes.size(); i += 4) {
        std::int32_t v;
        std::memcpy(&v, &bytes[i], 4);
        values.push_back(v);
        if (v == 2147483647) break;
    }
    return values;
}

constexpr const char* kEol = "000000000001";
constexpr std::int32_t kEnd = 2147483647;

TEST(CcittRows, ModifiedHuffmanRowsStartOnByteBoundaries) {
    // Row 1: white 3, black 5 (then 4 unused bits); row 2: white 8.
    auto data = code({"1000", "0011", "0000"});
    const auto second = code({"10011"});
    data.insert(data.end(), second.begin(), second.end());
    auto tiff = fax(2, 8, 2, data, -2);
    ASSERT_EQ(tiff.result, 2);
    EXPECT_EQ(runs(tiff, 8), (std::vector<std::int32_t>{3, 7, kEnd}));
    EXPECT_EQ(runs(tiff, 8), (std::vector<std::int32_t>{kEnd}));
}

TEST(CcittRows, Group3MakeUpCodesAndLeadingEndOfLine) {
    // EOL, white 64 (make-up 64, terminating 0), black 8 on a 72-pixel row.
    auto tiff = fax(3, 72, 1, code({kEol, "11011", "00110101", "000101"}), -3);
    Bytes expected(72, 255);
    std::fill(expected.begin() + 64, expected.end(), 0);
    EXPECT_EQ(tiff.row(72), expected);
    EXPECT_TRUE(tiff.said().empty());
}

// Black runs of PhotometricInterpretation 1 files come out as coded, which
// is their true colour (white).
TEST(CcittRows, BlackIsZeroFilesDeliverTheirTrueColours) {
    auto tiff = fax(3, 8, 1, code({kEol, "0111", "10", "0111"}), -3, 1);
    EXPECT_EQ(tiff.row(8), (Bytes{0, 0, 255, 255, 255, 0, 0, 0}));
}

TEST(CcittRows, RunsNeverPassTheWidth) {
    // White 2560 + 2560 + 1 on an 8-pixel row, then a second row.
    auto tiff = fax(
        3, 8, 2,
        code({kEol, "000000011111", "000000011111", "000111", kEol, "0111", "0000110111", "10011"}),
        -2);
    EXPECT_EQ(runs(tiff, 8), (std::vector<std::int32_t>{kEnd}));
    EXPECT_EQ(tiff.said().size(), 0u);
}

TEST(CcittRows, Group4VerticalModesAgainstTheReferenceRow) {
    // Row 1: V0 (all white). Row 2: H white 2 black 3, then V0 (b1 = 8).
    auto tiff = fax(4, 8, 2, code({"1", "001", "0111", "10", "1"}), -2);
    EXPECT_EQ(runs(tiff, 8), (std::vector<std::int32_t>{kEnd}));
    EXPECT_EQ(runs(tiff, 8), (std::vector<std::int32_t>{2, 4, kEnd}));
}

// After the end of the facsimile block the strip's later rows are white;
// the next strip starts afresh.
TEST(CcittRows, Group4EndOfBlockEndsOnlyItsStrip) {
    TiffBuilder b;
    b.image(8, 4, 1, 1, 0, 4,
            {code({"001", "0111", "10", "1", kEol, kEol}), code({"001", "1000", "0011"})});
    MemoryTiff tiff(b.build(), -2);
    EXPECT_EQ(runs(tiff, 8), (std::vector<std::int32_t>{2, 4, kEnd}));
    EXPECT_EQ(runs(tiff, 8), (std::vector<std::int32_t>{kEnd}));
    EXPECT_EQ(runs(tiff, 8), (std::vector<std::int32_t>{3, 7, kEnd}));
    EXPECT_TRUE(tiff.said().empty());
}

// A vertical left mode may not put a1 before a0 (here -1): the strip's
// coding is taken as ended, the rows are white.
TEST(CcittRows, Group4PositionsNeverGoBackwards) {
    auto tiff = fax(4, 8, 3, code({"001", "0111", "10", "1", "0000010"}), -2);
    EXPECT_EQ(runs(tiff, 8), (std::vector<std::int32_t>{2, 4, kEnd}));
    EXPECT_EQ(runs(tiff, 8), (std::vector<std::int32_t>{kEnd}));
    EXPECT_EQ(runs(tiff, 8), (std::vector<std::int32_t>{kEnd}));
    EXPECT_TRUE(tiff.said().empty());
}

TEST(CcittRows, DataThatEndsInsideARowIsTold) {
    auto tiff = fax(4, 8, 3, code({"1", "001"}), -3);
    EXPECT_EQ(tiff.row(8), Bytes(8, 255));
    tiff.row(8);
    EXPECT_EQ(tiff.said(), std::vector<std::string>{"ERROR IN FILE FORMAT"});
}

}  // namespace
