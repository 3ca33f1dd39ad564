#include <gtest/gtest.h>

#include "platform/velsys/fil.h"
#include "raster/output/lzwouttyp.h"

using namespace QuillonCore;

namespace {

using Bytes = std::vector<unsigned char>;

// Runs the encoder into a big-endian memory file whose first 8 bytes stand
// for the StripByteCounts and StripOffsets values (one strip) or arrays.
struct Encoded {
    Bytes file;
    int rowResult = 0;
    bool exitOk = false;
};

Encoded encode(const std::vector<Bytes>& rows, int rowsPerStrip, int predictor, int samples,
               int reserved = 8) {
    VelSys::fil file;
    file.createMemory();
    const Bytes zeros(static_cast<std::size_t>(reserved), 0);
    VelSys::filwri(&file, zeros.data(), reserved);
    lzwouttyp* encoder = tiflzwoutini(&file, 0);
    const int rowCount = static_cast<int>(rows.size());
    const int strips = (rowCount + rowsPerStrip - 1) / rowsPerStrip;
    tiflzwsetstrippar(encoder, rowCount, rowsPerStrip, strips, 0, reserved / 2, reserved,
                      predictor);
    Encoded out;
    for (const Bytes& row : rows)
        out.rowResult |= tiflzwoutrow(encoder, row.data(), static_cast<int>(row.size()), samples);
    out.exitOk = tiflzwoutexi(encoder);
    out.file = file.contents();
    return out;
}

Bytes tail(const Bytes& file, std::size_t from) {
    return Bytes(file.begin() + from, file.end());
}

}  // namespace

// Clear, A, B, AB, ABA, end of information at 9 bits, then the pad byte
// that keeps the next strip on an even position.
TEST(LzwEncoder, WorkedExampleCodes) {
    const Encoded e = encode({{0x41, 0x42, 0x41, 0x42, 0x41, 0x42, 0x41}}, 1, 1, 1);
    EXPECT_EQ(e.rowResult, 0);
    EXPECT_TRUE(e.exitOk);
    EXPECT_EQ(tail(e.file, 8), (Bytes{0x80, 0x10, 0x48, 0x50, 0x28, 0x24, 0x04, 0x00}));
    EXPECT_EQ(Bytes(e.file.begin(), e.file.begin() + 8), (Bytes{0, 0, 0, 7, 0, 0, 0, 8}));
}

TEST(LzwEncoder, PredictorDifferencesEachChannel) {
    const Encoded e = encode({{10, 20, 30, 12, 23, 34}}, 1, 2, 3);
    // Clear, 10, 20, 30, 2, 3, 4, end of information.
    EXPECT_EQ(tail(e.file, 8), (Bytes{0x80, 0x02, 0x82, 0x81, 0xE0, 0x10, 0x0C, 0x09, 0x01, 0x00}));
}

TEST(LzwEncoder, EachStripStartsWithClearEndsWithEndOfInformationOnEvenPositions) {
    const Bytes row = {1, 2, 3};
    const Encoded e = encode({row, row, row, row, row}, 2, 1, 1, 24);  // 3 strips, 12-byte arrays
    ASSERT_TRUE(e.exitOk);
    for (int strip = 0; strip < 3; ++strip) {
        const auto at = [&](int i) {
            return static_cast<std::size_t>(e.file[i] << 24 | e.file[i + 1] << 16 |
                                            e.file[i + 2] << 8 | e.file[i + 3]);
        };
        const std::size_t start = at(12 + 4 * strip), count = at(4 * strip);
        EXPECT_EQ(start % 2, 0u);
        EXPECT_EQ(e.file[start] & 0x80, 0x80) << "Clear first";
        EXPECT_GT(count, 0u);
        if (strip < 2) {
            EXPECT_EQ(at(12 + 4 * (strip + 1)), start + count + count % 2);
        }
    }
}

// The strip table is sized by the layout: a wrong strip count or rows
// beyond the image are refused, not written past it.
TEST(LzwEncoder, LayoutIsValidatedAndExtraRowsRefused) {
    VelSys::fil file;
    file.createMemory();
    const Bytes row = {5, 6};
    lzwouttyp* early = tiflzwoutini(&file, 1);
    EXPECT_NE(tiflzwoutrow(early, row.data(), 2, 1), 0) << "row before the layout";
    tiflzwsetstrippar(early, 4, 0, 4, 0, 0, 0, 1);
    EXPECT_TRUE(tiflzwoutfailed(early)) << "zero rows per strip";
    EXPECT_FALSE(tiflzwoutexi(early));

    lzwouttyp* inconsistent = tiflzwoutini(&file, 1);
    tiflzwsetstrippar(inconsistent, 4, 2, 3, 0, 0, 0, 1);
    EXPECT_TRUE(tiflzwoutfailed(inconsistent));
    tiflzwoutexi(inconsistent);

    lzwouttyp* full = tiflzwoutini(&file, 1);
    tiflzwsetstrippar(full, 1, 1, 1, 0, 4, 8, 1);
    EXPECT_EQ(tiflzwoutrow(full, row.data(), 2, 1), 0);
    EXPECT_NE(tiflzwoutrow(full, row.data(), 2, 1), 0) << "row beyond the image";
    EXPECT_TRUE(tiflzwoutexi(full));
    EXPECT_EQ(tiflzwoutrow(nullptr, row.data(), 2, 1), 0);
    EXPECT_TRUE(tiflzwoutexi(nullptr));
}
