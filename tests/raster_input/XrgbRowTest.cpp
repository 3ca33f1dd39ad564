#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <cstring>
#include <vector>

#include "CountingLink.h"
#include "raster/input/XrgbRow.h"
#include "raster/input/pixreatyp.h"

using namespace QuillonCore;
using Bytes = std::vector<unsigned char>;

namespace {

// Sets the preview link for one test and clears it after.
struct PreviewLink {
    explicit PreviewLink(VelGen::colsynlnk* link) { tifcolsynset(link); }
    ~PreviewLink() { tifcolsynset(nullptr); }
};

using Convert = void (*)(const unsigned char*, int, unsigned char*);

struct Case {
    const char* name;
    Convert convert;
    int inBytes;
    Bytes source;
    Bytes plain;   // without a link, and when the link fails
    Bytes linked;  // through CountingLink(inBytes, 3)
};

std::vector<Case> cases() {
    return {
        {"luminance",
         xrgbFromLuminance,
         1,
         {0, 200},
         {0, 0, 0, 0, 0, 200, 200, 200},
         // ink 255 and 55; outputs ink+10, +20, +30 stored inverted
         {0, 246, 236, 226, 0, 190, 180, 170}},
        {"rgb",
         xrgbFromRgb,
         3,
         {1, 2, 3, 4, 5, 6},
         {0, 1, 2, 3, 0, 4, 5, 6},
         {0, 11, 21, 31, 0, 14, 24, 34}},
        {"ink",
         xrgbFromInk,
         4,
         {0, 0, 0, 0, 255, 0, 0, 0},
         {0, 255, 255, 255, 0, 0, 255, 255},
         {30, 20, 10, 0, 29, 19, 9, 0}},
    };
}

Bytes run(const Case& c, bool inPlace) {
    const int count = static_cast<int>(c.source.size()) / c.inBytes;
    Bytes out(4 * count, 0xEE);
    if (inPlace) {
        std::memcpy(out.data(), c.source.data(), c.source.size());
        c.convert(out.data(), count, out.data());
    } else {
        c.convert(c.source.data(), count, out.data());
    }
    return out;
}

}  // namespace

TEST(XrgbRow, EachSourceWithoutWithAndWithAFailingLink) {
    for (const Case& c : cases()) {
        SCOPED_TRACE(c.name);
        for (bool inPlace : {false, true}) {
            EXPECT_EQ(run(c, inPlace), c.plain);
            QuillonTest::CountingLink link(c.inBytes, 3);
            PreviewLink set(&link);
            EXPECT_EQ(tifcolsynget(), &link);
            EXPECT_EQ(run(c, inPlace), c.linked);
            EXPECT_EQ(link.calls, 1) << "one call converts the whole row";
            EXPECT_EQ(link.pixels, 2);
            link.fail = true;
            EXPECT_EQ(run(c, inPlace), c.plain);
        }
    }
}

TEST(XrgbRow, BitsAndPaletteAreNativeWordsWithTheZeroByteLast) {
    const std::uint32_t white = 16777215u;
    std::vector<std::uint32_t> words(10);
    const unsigned char bits[2] = {0xA0, 0x80};  // pixels 0, 2 and 8 set
    xrgbFromBits(bits, 10, true, reinterpret_cast<unsigned char*>(words.data()));
    EXPECT_EQ(words, (std::vector<std::uint32_t>{white, 0, white, 0, 0, 0, 0, 0, white, 0}));
    xrgbFromBits(bits, 10, false, reinterpret_cast<unsigned char*>(words.data()));
    EXPECT_EQ(words[0], 0u);
    EXPECT_EQ(words[1], white);

    const std::uint32_t palette[3] = {0x010203, 0xFFFFFFFF, 0x0A0B0C};
    const unsigned char nibbles[2] = {0x02, 0x13};  // 0, 2, 1, 3 (3 is past the palette)
    Bytes out(16);
    ASSERT_TRUE(xrgbFromPalette(nibbles, 4, 4, palette, 3, out.data()));
    std::vector<std::uint32_t> got(4);
    std::memcpy(got.data(), out.data(), 16);
    EXPECT_EQ(got, (std::vector<std::uint32_t>{0x010203, 0x0A0B0C, 0xFFFFFF, 0}));
    if (std::endian::native == std::endian::little) {
        EXPECT_EQ(Bytes(out.begin(), out.begin() + 4), (Bytes{3, 2, 1, 0}));
    }
    EXPECT_FALSE(xrgbFromPalette(nibbles, 3, 4, palette, 3, out.data()));
}

TEST(XrgbRow, PackedRowsExpandInPlace) {
    // 9 two-bit indexes in 3 bytes, expanded inside the 36-byte destination.
    const std::uint32_t palette[4] = {0, 0x111111, 0x222222, 0x333333};
    Bytes row(36, 0);
    row[0] = 0x1B, row[1] = 0xE4, row[2] = 0x40;  // 0 1 2 3 | 3 2 1 0 | 1
    ASSERT_TRUE(xrgbFromPalette(row.data(), 2, 9, palette, 4, row.data()));
    std::vector<std::uint32_t> got(9);
    std::memcpy(got.data(), row.data(), 36);
    EXPECT_EQ(got, (std::vector<std::uint32_t>{0, 0x111111, 0x222222, 0x333333, 0x333333, 0x222222,
                                               0x111111, 0, 0x111111}));
}
