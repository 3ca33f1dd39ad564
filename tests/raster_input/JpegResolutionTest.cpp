// The resolution rule and the walk of Photoshop resources, on crafted bytes.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "raster/input/JpegResolution.h"
#include "raster/input/PhotoshopResolution.h"

using namespace QuillonCore;

TEST(JpegResolution, DensityRule) {
    struct Case {
        JpegDensity density;
        bool useFractional;
        int numerator;
        int denominator;
    };
    const Case cases[] = {
        {{1, 72, 72, 0.0}, true, 7200, 100},
        {{2, 28, 28, 0.0}, true, 7112, 100},
        {{1, 72, 300, 0.0}, true, -7200, 100},
        {{1, 300, 72, 0.0}, true, 7200, 100},
        {{1, 300, 300, 0.0}, true, 30000, 100},
        {{0, 1, 1, 0.0}, true, 300, 1},
        {{1, 72, 72, 72.5}, true, 7250, 100},
        {{1, 72, 72, 72.5}, false, 7200, 100},
        {{0, 1, 1, 72.5}, true, 7250, 100},
        // No usable density: an unknown unit, or the density the rule takes is 0.
        {{3, 72, 72, 0.0}, true, 300, 1},
        {{255, 72, 72, 0.0}, true, 300, 1},
        {{1, 72, 0, 0.0}, true, 300, 1},
        {{1, 0, 300, 0.0}, true, 300, 1},
        {{2, 65535, 65535, 0.0}, true, 254 * 65535, 100},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.density.unit) + " " + std::to_string(c.density.horizontal) +
                     "x" + std::to_string(c.density.vertical));
        const JpegResolution resolution = JpegResolution::fromDensity(c.density, c.useFractional);
        EXPECT_EQ(resolution.numerator, c.numerator);
        EXPECT_EQ(resolution.denominator, c.denominator);
    }
}

namespace {

using Bytes = std::vector<unsigned char>;

void put32(Bytes& out, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<unsigned char>(v >> shift));
}

// One resource: "8BIM", id, Pascal name (padded to even), length, data (padded when asked).
Bytes resource(int id, const std::string& name, const Bytes& data, bool pad = true) {
    Bytes out = {
        '8', 'B', 'I', 'M', static_cast<unsigned char>(id >> 8), static_cast<unsigned char>(id)};
    out.push_back(static_cast<unsigned char>(name.size()));
    out.insert(out.end(), name.begin(), name.end());
    if ((name.size() + 1) & 1) out.push_back(0);
    put32(out, static_cast<std::uint32_t>(data.size()));
    out.insert(out.end(), data.begin(), data.end());
    if (pad && (data.size() & 1)) out.push_back(0);
    return out;
}

Bytes resolutionInfo(std::uint32_t horizontal, std::uint32_t vertical) {
    Bytes data;
    put32(data, horizontal);
    put32(data, 0x00010001);
    put32(data, vertical);
    put32(data, 0x00010001);
    return data;
}

Bytes operator+(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

}  // namespace

TEST(PhotoshopResolution, WalksResourcesToResolutionInfo) {
    const Bytes res725 = resource(1005, "", resolutionInfo(0x00488000, 0x00488000));  // 72.5
    const Bytes res150 = resource(1005, "abc", resolutionInfo(150 << 16, 120 << 16));
    const Bytes oddFirst = resource(1060, "x", Bytes(49, 'a'));
    const Bytes oddUnpadded = resource(1060, "x", Bytes(49, 'a'), false);

    auto found = PhotoshopResolution::find(res725, true);
    EXPECT_TRUE(found.found);
    EXPECT_EQ(found.horizontal, 72);
    EXPECT_DOUBLE_EQ(found.fractionalHorizontal, 72.5);

    found = PhotoshopResolution::find(resource(1000, "", {1, 2}) + res150, true);
    EXPECT_TRUE(found.found);
    EXPECT_EQ(found.horizontal, 150);
    EXPECT_EQ(found.vertical, 120);
    EXPECT_EQ(found.fractionalHorizontal, 0.0);

    // Padded data: current files are read by the padded walk, older files by
    // the unpadded one, and neither finds the resolution in the other's layout.
    EXPECT_TRUE(PhotoshopResolution::find(oddFirst + res725, true).found);
    EXPECT_FALSE(PhotoshopResolution::find(oddFirst + res725, false).found);
    EXPECT_TRUE(PhotoshopResolution::find(oddUnpadded + res725, false).found);
}

TEST(PhotoshopResolution, StopsAtAnythingThatDoesNotFit) {
    const Bytes good = resource(1005, "", resolutionInfo(72 << 16, 72 << 16));
    Bytes overlong = resource(1000, "", {1, 2, 3, 4});
    overlong[11] = 0xFF;  // data length far past the bytes
    Bytes hugeLength = resource(1000, "", {});
    hugeLength[8] = hugeLength[9] = hugeLength[10] = hugeLength[11] = 0xFF;
    Bytes longName = {'8', 'B', 'I', 'M', 0x03, 0xED, 200, 'a'};
    const Bytes cases[] = {
        {},
        Bytes(good.begin(), good.begin() + 13),  // header cut in the length
        Bytes(good.begin(), good.end() - 1),     // data cut short
        overlong + good,
        hugeLength + good,
        longName + good,                          // name runs past the end
        Bytes{'8', 'B', 'I', 'X'} + good,         // bad signature ends the walk
        resource(1005, "", Bytes(15, 0)) + good,  // a ResolutionInfo of another length ends it
    };
    for (const Bytes& bytes : cases) {
        SCOPED_TRACE(bytes.size());
        EXPECT_FALSE(PhotoshopResolution::find(bytes, true).found);
        EXPECT_FALSE(PhotoshopResolution::find(bytes, false).found);
    }
}
