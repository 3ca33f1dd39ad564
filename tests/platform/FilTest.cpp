#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>

#include "platform/velsys/Arithmetic.h"
#include "platform/velsys/FileSpec.h"
#include "platform/velsys/RecoveryScope.h"
#include "platform/velsys/fil.h"
#include "platform/velsys/filref.h"
#include "support/TestSupport.h"

using namespace VelSys;

namespace {

std::vector<unsigned char> bytesOf(std::initializer_list<int> values) {
    std::vector<unsigned char> out;
    for (int v : values) out.push_back(static_cast<unsigned char>(v));
    return out;
}

}  // namespace

TEST(Fil, ScalarsAreBigEndianBothWays) {
    fil f;
    f.createMemory();
    filwri8sub(&f, 0xAB);
    filwri16sub(&f, 0x1234);
    filwri32sub(&f, -2);
    EXPECT_EQ(f.contents(), bytesOf({0xAB, 0x12, 0x34, 0xFF, 0xFF, 0xFF, 0xFE}));
    filpos(&f, 0);
    EXPECT_EQ(filrea8sub(&f), 0xAB);
    EXPECT_EQ(filrea16sub(&f), 0x1234);
    EXPECT_EQ(filrea32sub(&f), -2);
    EXPECT_EQ(filerr(&f), 0);
    EXPECT_TRUE(fileofsub(&f));
}

TEST(Fil, ReadsPastTheEndGiveZeroAndAStickyError) {
    fil f;
    const auto data = bytesOf({1, 2, 3});
    f.openMemory(data);
    EXPECT_EQ(filrea16sub(&f), 0x0102);
    EXPECT_EQ(filrea32sub(&f), 0);  // only one byte left
    EXPECT_NE(filerr(&f), 0);
    EXPECT_TRUE(fileofsub(&f));
    filpos(&f, 0);
    EXPECT_EQ(filrea8sub(&f), 1);
    EXPECT_NE(filerr(&f), 0) << "the error state is sticky";
    filclearerr(&f);
    EXPECT_EQ(filerr(&f), 0);
    unsigned char block[8] = {};
    filpos(&f, 1);
    EXPECT_EQ(filrea(&f, block, 8), 2);
}

TEST(Fil, RealFileWriteSeekPatchAndReadBack) {
    const std::string path = QuillonTest::tempPath("f.bin");
    fil f;
    errtyp error;
    ASSERT_EQ(saveFile(&f, &error, FileSpec(path)), 0);
    // Cross the buffer window several times.
    std::vector<unsigned char> big(200000);
    for (std::size_t i = 0; i < big.size(); ++i) big[i] = static_cast<unsigned char>(i * 7);
    filwri(&f, big.data(), static_cast<int>(big.size()));
    filpos(&f, 10);
    filwri32sub(&f, 0x01020304);
    filpos(&f, static_cast<int>(big.size()));
    filwri8sub(&f, 9);
    f.Close();

    fil g;
    ASSERT_EQ(openFile(&g, &error, FileSpec(path)), 0);
    EXPECT_EQ(filgeteof(&g), 200001);
    std::vector<unsigned char> back(200001);
    EXPECT_EQ(filrea(&g, back.data(), 200001), 200001);
    big[10] = 1, big[11] = 2, big[12] = 3, big[13] = 4;
    big.push_back(9);
    EXPECT_EQ(back, big);
}

// Blocks larger than the window are read past it: they must still see
// bytes written but not yet flushed, and stop short at the end.
TEST(Fil, LargeReadsSeeUnflushedWritesAndStopAtTheEnd) {
    const std::string path = QuillonTest::tempPath("large.bin");
    fil f;
    errtyp error;
    ASSERT_EQ(saveFile(&f, &error, FileSpec(path)), 0);
    std::vector<unsigned char> data(200000);
    for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<unsigned char>(i * 13);
    filwri(&f, data.data(), static_cast<int>(data.size()));
    filpos(&f, 70000);
    filwri32sub(&f, 0x0A0B0C0D);  // left in the window, unflushed
    data[70000] = 10, data[70001] = 11, data[70002] = 12, data[70003] = 13;
    filpos(&f, 1);
    std::vector<unsigned char> back(150000);
    ASSERT_EQ(filrea(&f, back.data(), 150000), 150000);
    EXPECT_TRUE(std::equal(back.begin(), back.end(), data.begin() + 1));
    EXPECT_EQ(filpos(&f), 150001);
    EXPECT_EQ(filrea(&f, back.data(), 100000), 49999);
    EXPECT_NE(filerr(&f), 0);
    EXPECT_TRUE(std::equal(back.begin(), back.begin() + 49999, data.begin() + 150001));
}

TEST(Fil, OpenFailureFillsTheErrorRecord) {
    fil f;
    errtyp error;
    EXPECT_NE(openFile(&f, &error, FileSpec("/nonexistent/quillon/x")), 0);
    EXPECT_NE(error.code, 0);
    EXPECT_FALSE(f.isOpen());
}

TEST(Fil, StringsRoundTripInTheirStoredFormats) {
    fil f;
    f.createMemory();
    filwristring(&f, "abc");
    filwriUni16String(&f, u"\u00e9x");
    filwristrnul(&f, "nul");
    EXPECT_EQ(f.contents(),
              bytesOf({0, 0, 0, 3, 'a', 'b', 'c', 0, 0, 0, 2, 0, 0xE9, 0, 'x', 'n', 'u', 'l', 0}));
    filpos(&f, 0);
    std::string s;
    ustring u;
    char small[3];
    EXPECT_TRUE(filreastring(&f, s));
    EXPECT_TRUE(filreaUni16String(&f, u));
    EXPECT_EQ(filreastrnul(&f, small, 3), 2);
    EXPECT_EQ(s, "abc");
    EXPECT_EQ(u, u"\u00e9x");
    EXPECT_STREQ(small, "nu");
    EXPECT_TRUE(fileofsub(&f)) << "an over-long string is consumed through its NUL";
}

TEST(Fil, StringCountsBeyondTheDataAreRefused) {
    fil f;
    const auto data = bytesOf({0x7F, 0xFF, 0xFF, 0xFF, 'a'});
    f.openMemory(data);
    std::string s = "old";
    EXPECT_FALSE(filreastring(&f, s));
    EXPECT_TRUE(s.empty());
    EXPECT_NE(filerr(&f), 0);
}

TEST(Fil, FramedRecordsAreClampedToTheirEnclosure) {
    fil f;
    f.createMemory();
    const int outer = filwripos(&f);
    const int inner = filwripos(&f);
    filwri32sub(&f, 7);
    filwrilen(&f, inner);
    filwri8sub(&f, 1);
    filwrilen(&f, outer);
    filpos(&f, 0);
    bool corrupt = true;
    const int outerEnd = filreapos(&f, -1, &corrupt);
    EXPECT_EQ(outerEnd, 13);
    EXPECT_FALSE(corrupt);
    EXPECT_EQ(filreapos(&f, outerEnd, &corrupt), 12);
    EXPECT_FALSE(corrupt);

    struct Case {
        std::int32_t count;
        int enclosing;
        int expectedEnd;
    };
    for (const Case& c : {Case{-5, -1, 4}, Case{1000, -1, 9}, Case{4, 6, 6}}) {
        fil g;
        g.createMemory();
        filwri32sub(&g, c.count);
        filwri32sub(&g, 0);
        filwri8sub(&g, 0);
        filpos(&g, 0);
        EXPECT_EQ(filreapos(&g, c.enclosing, &corrupt), c.expectedEnd) << c.count;
        EXPECT_TRUE(corrupt);
        EXPECT_NE(filerr(&g), 0);
    }
}

TEST(Fil, RelativeReferencesResolveAgainstTheWritingFilesFolder) {
    const std::string path = QuillonTest::tempPath("job.bin");
    const std::string folder = path.substr(0, path.rfind('/'));
    filref image;
    ASSERT_EQ(filrefnew(&image, (folder + "/images/a.tif").c_str()), 0);
    fil f;
    errtyp error;
    ASSERT_EQ(saveFile(&f, &error, FileSpec(path)), 0);
    filwrirefrel(&f, image);
    filwriref(&f, image);
    f.Close();
    ASSERT_EQ(openFile(&f, &error, FileSpec(path)), 0);
    std::string stored;
    EXPECT_TRUE(filreastring(&f, stored));
    EXPECT_EQ(stored, "images/a.tif");
    filpos(&f, 0);
    filref rel, abs;
    EXPECT_TRUE(filrearefrel(&f, &rel));
    EXPECT_TRUE(filrearef(&f, &abs));
    EXPECT_TRUE(rel == image);
    EXPECT_TRUE(abs == image);
    EXPECT_EQ(image.getNameAsUtf8(), "a.tif");
}

TEST(Recovery, JumpsOnlyWhenAPointIsRegistered) {
    fil f;
    f.createMemory();
    EXPECT_EQ(filrecovery(&f), nullptr);
    filjumprecovery(&f, -2);  // returns: nothing registered
    int reached = 0;
    {
        RecoveryScope point(&f);
        EXPECT_NE(filrecovery(&f), nullptr);
        const int result = point.run([&] {
            filjumprecovery(&f, -2);
            reached = 1;
        });
        EXPECT_EQ(result, -2);
        EXPECT_EQ(reached, 0);
    }
    EXPECT_EQ(filrecovery(&f), nullptr);
}

TEST(Arithmetic, RoundingSaturatesAndDefinesTheEdges) {
    EXPECT_EQ(iround(2.5), 3);
    EXPECT_EQ(iround(-2.5), -3);
    EXPECT_EQ(iround(std::nan("")), 0);
    EXPECT_EQ(iround(1e300), INT_MAX);
    EXPECT_EQ(iround(-INFINITY), INT_MIN);
    EXPECT_EQ(muldiv(7, 3, 2), 11);
    EXPECT_EQ(muldiv(-7, 3, 2), -11);
    EXPECT_EQ(muldiv(INT_MAX, INT_MAX, 1), INT_MAX);
    EXPECT_EQ(muldiv(100000, 100000, 100000), 100000);
    EXPECT_EQ(muldiv(5, 5, 0), 0);
    EXPECT_FALSE(checkedMul(INT64_MAX, 2));
    EXPECT_FALSE(checkedAdd(-1, 2));
    EXPECT_EQ(checkedMul(1 << 20, 1 << 20), std::int64_t{1} << 40);
}
