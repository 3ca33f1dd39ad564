#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "CountingLink.h"
#include "FakeReader.h"
#include "platform/velsys/RecoveryScope.h"
#include "support/TestSupport.h"

using namespace QuillonCore;
using namespace QuillonTest;
using Bytes = std::vector<unsigned char>;

namespace {

// Each test starts and ends with an empty, enabled cache.
class PixelCache : public ::testing::Test {
  protected:
    void SetUp() override { pixcacheini(); }
    void TearDown() override { pixcacheexi(); }
};

// A prepared reader asked to serve from the cache with `key`.
std::unique_ptr<FakeReader> cachedReader(FakeFile& file, const FakeImage& image, int key,
                                         int selector = -4) {
    auto reader = std::make_unique<FakeReader>(&file.file, image);
    EXPECT_EQ(prepare(*reader, selector), 0);
    reader->pixcachereabeg(&file.file, key);
    return reader;
}

Bytes readAll(FakeReader& reader, int length) {
    Bytes all;
    Bytes row(length, 0xEE);
    while (reader.pixrealin(row.data(), length) == 1) all.insert(all.end(), row.begin(), row.end());
    return all;
}

}  // namespace

TEST_F(PixelCache, ReadersOfOneImageShareTheBlockByKeyAndShape) {
    const FakeImage image;
    FakeFile file(image);
    auto first = cachedReader(file, image, 1);
    EXPECT_EQ(first->rowsRead, image.rows) << "a miss reads every row at once";
    EXPECT_EQ(first->pixrowsleft(), image.rows);
    EXPECT_EQ(first->rowsDelivered(), 0);
    EXPECT_EQ(pixreatyp::msCacheChannelCount, 1u);
    EXPECT_EQ(pixreatyp::msCacheSize, 48u);

    auto second = cachedReader(file, image, 1);
    EXPECT_EQ(second->rowsRead, 0) << "a hit reads nothing from the file";
    EXPECT_EQ(readAll(*second, 16), image.bytes());
    EXPECT_EQ(readAll(*first, 16), image.bytes());

    struct Case {
        const char* name;
        int key, selector;
    } misses[] = {{"another key", 2, -4}, {"another layout", 1, 0}, {"the preview layout", 1, -1}};
    std::uint32_t entries = 1;
    for (const Case& c : misses) {
        SCOPED_TRACE(c.name);
        auto other = cachedReader(file, image, c.key, c.selector);
        EXPECT_EQ(other->rowsRead, image.rows);
        EXPECT_EQ(pixreatyp::msCacheChannelCount, ++entries);
    }
}

TEST_F(PixelCache, ServesWholeRowsWhateverLengthTheCallerPasses) {
    const FakeImage image;
    FakeFile file(image);
    auto reader = cachedReader(file, image, 1, -1);  // 4 bytes per pixel
    ASSERT_TRUE(reader->pixiscached());
    Bytes row(40, 0xEE);
    ASSERT_EQ(reader->pixrealin(row.data(), 40), 1);
    EXPECT_EQ(row[16], 0xEE) << "nothing past the row";
    ASSERT_EQ(reader->pixrealin(row.data(), 2), 1);
    EXPECT_EQ(row[0], FakeImage::value(1, 0, 0));
    EXPECT_EQ(row[2], FakeImage::value(0, 0, 2)) << "only the 2 bytes asked for";
    ASSERT_EQ(reader->pixrealin(nullptr, 16), 1);
    EXPECT_EQ(reader->pixrealin(row.data(), 40), 0);
}

TEST_F(PixelCache, RunListsAndDisabledCachesStayUncached) {
    const FakeImage image;
    FakeFile file(image);
    EXPECT_FALSE(cachedReader(file, image, 1, -2)->pixiscached());
    EXPECT_FALSE(cachedReader(file, image, 0)->pixiscached());
    pixcacheexi();
    EXPECT_FALSE(cachedReader(file, image, 1)->pixiscached());
    EXPECT_EQ(pixreatyp::msCacheChannelCount, 0u);
}

TEST_F(PixelCache, HoldsAtMost128Entries) {
    FakeImage tiny;
    tiny.width = 1, tiny.rows = 1, tiny.samples = 1;
    FakeFile file(tiny);
    for (int key = 1; key <= 127; ++key) cachedReader(file, tiny, key);
    EXPECT_EQ(pixreatyp::msCacheChannelCount, 127u);
    EXPECT_TRUE(cachedReader(file, tiny, 128)->pixiscached());
    EXPECT_FALSE(cachedReader(file, tiny, 129)->pixiscached());
    EXPECT_EQ(pixreatyp::msCacheChannelCount, 128u);
}

TEST_F(PixelCache, StaysBelow256000000BytesWithoutOverflow) {
    const FakeImage image;  // 48 bytes
    FakeFile file(image);
    struct Case {
        std::uint32_t inUse;
        bool cached;
    } cases[] = {{256000000u - 49u, true},
                 {256000000u - 48u, false},
                 {256000000u, false},
                 {0xFFFFFFF0u, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.inUse);
        pixreatyp::msCacheSize = c.inUse;
        EXPECT_EQ(cachedReader(file, image, 1)->pixiscached(), c.cached);
        pixcacheini();
    }
    FakeImage huge;
    huge.rows = 1 << 30, huge.width = 1 << 30, huge.samples = 4;
    FakeFile empty(FakeImage{});
    auto reader = cachedReader(empty, huge, 1);
    EXPECT_FALSE(reader->pixiscached());
    EXPECT_EQ(reader->rowsRead, 0);
}

TEST_F(PixelCache, EmptyingTheCacheLeavesLiveReadersServing) {
    const FakeImage image;
    FakeFile file(image);
    auto kept = cachedReader(file, image, 1);
    pixreatyp::pixcachepushnew();
    EXPECT_EQ(pixreatyp::msCacheChannelCount, 0u);
    auto nested = cachedReader(file, image, 2);
    auto nestedHit = cachedReader(file, image, 1);
    EXPECT_EQ(nestedHit->rowsRead, image.rows) << "the pushed level is out of reach";
    pixreatyp::pixcachepoprestore();
    EXPECT_EQ(pixreatyp::msCacheChannelCount, 1u);
    EXPECT_EQ(pixreatyp::msCacheSize, 48u);
    EXPECT_EQ(cachedReader(file, image, 1)->rowsRead, 0) << "the earlier entry is back";
    pixreatyp::pixcachepoprestore();  // no saved level: refused
    EXPECT_EQ(pixreatyp::msCacheChannelCount, 1u);
    pixcacheexi();
    pixcacheini();
    EXPECT_EQ(readAll(*kept, 16), image.bytes());
    EXPECT_EQ(readAll(*nested, 16), image.bytes());
}

TEST_F(PixelCache, AFailureWhileFillingCachesNothing) {
    const FakeImage image;
    FakeFile file(image);
    MessageRecorder recorder;
    for (bool withRecoveryPoint : {false, true}) {
        SCOPED_TRACE(withRecoveryPoint);
        FakeReader reader(&file.file, image);
        prepare(reader, -4);
        reader.failAtRow = 1;
        EXPECT_EQ(runRecovering(&file.file, withRecoveryPoint,
                                [&] { reader.pixcachereabeg(&file.file, 1); }),
                  withRecoveryPoint ? -2 : 0);
        EXPECT_FALSE(reader.pixiscached());
        EXPECT_TRUE(reader.pixfailed());
        Bytes row(16, 7);
        EXPECT_EQ(reader.pixrealin(row.data(), 16), 0);
        EXPECT_EQ(pixreatyp::msCacheChannelCount, 0u);
        EXPECT_EQ(pixreatyp::msCacheSize, 0u);
    }
    EXPECT_EQ(recorder.said().size(), 2u);
}

TEST_F(PixelCache, SynthesizedSeparationsAreCachedApart) {
    const FakeImage image;
    FakeFile file(image);
    CountingLink link(4, 4);
    std::vector<Bytes> firstRows;
    for (int separation : {0, 1, 0}) {
        SCOPED_TRACE(separation);
        FakeReader reader(&file.file, image);
        prepare(reader, -4);
        reader.pixcolsynini(&link, true, separation);
        reader.pixcachereabeg(&file.file, 1);
        Bytes row(image.width);
        ASSERT_EQ(reader.pixrealin(row.data(), image.width), 1);
        firstRows.push_back(row);
    }
    EXPECT_EQ(pixreatyp::msCacheChannelCount, 2u);
    EXPECT_NE(firstRows[0], firstRows[1]);
    EXPECT_EQ(firstRows[0], firstRows[2]);
}
