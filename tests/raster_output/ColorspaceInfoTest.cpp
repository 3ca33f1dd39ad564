#include <gtest/gtest.h>

#include "raster/output/ColorspaceInfo.h"
#include "raster/output/SeparationInfo.h"

using namespace QuillonCore;

TEST(SeparationInfo, PercentagesBecomeBytesAndClampAtFullInk) {
    SeparationInfo info;
    info.setCMYK(100, 50, 0, 1);
    EXPECT_EQ(info.mC, 255);
    EXPECT_EQ(info.mM, 127);
    EXPECT_EQ(info.mY, 0);
    EXPECT_EQ(info.mK, 2);
    info.setCMYK(101, 200, 255, 99);
    EXPECT_EQ(info.mC, 255) << "101 % must not wrap to almost no ink";
    EXPECT_EQ(info.mM, 255);
    EXPECT_EQ(info.mY, 255);
    EXPECT_EQ(info.mK, 252);
}

TEST(ColorspaceInfo, ExtraChannelsAndSamplesByModel) {
    struct Case {
        int interpretation, separations;
        bool extraChannels;
        int extraOf1, extraOf2, extraOf6;
    } cases[] = {{0, 2, true, 0, 1, 5},  {1, 1, false, 0, 1, 5}, {5, 4, false, 0, 0, 2},
                 {5, 5, true, 0, 0, 2},  {2, 7, false, 0, 0, 0}, {3, 2, false, 0, 0, 0},
                 {-1, 3, false, 0, 0, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.interpretation);
        ColorspaceInfo info(c.interpretation);
        for (int i = 0; i < c.separations; ++i) info.addSeparation(SeparationInfo());
        const ColorspaceInfo copy = info;
        EXPECT_EQ(copy.hasExtraChannels(), c.extraChannels);
        EXPECT_EQ(copy.ExtraSamples(1), c.extraOf1);
        EXPECT_EQ(copy.ExtraSamples(2), c.extraOf2);
        EXPECT_EQ(copy.ExtraSamples(6), c.extraOf6);
        EXPECT_EQ(copy.getSeparationInfoAt(-1), nullptr);
        EXPECT_EQ(copy.getSeparationInfoAt(c.separations), nullptr);
        EXPECT_NE(copy.getSeparationInfoAt(c.separations - 1), nullptr);
    }
    EXPECT_FALSE(ColorspaceInfo(5).hasSeparationInfo());
}
