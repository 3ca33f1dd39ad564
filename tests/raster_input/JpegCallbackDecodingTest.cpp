// The free-function decoder interface over a caller's byte source.

#include <gtest/gtest.h>

#include <vector>

#include "support/JpegTestFiles.h"
#include "support/Sha256.h"
#include "raster/input/jpegintyp.h"
#include "support/TestSupport.h"

using namespace QuillonCore;
using namespace QuillonTest;

namespace {

// A byte source over memory that counts what it is asked for.
struct MemorySource {
    std::vector<unsigned char> bytes;
    long position = 0;
    long bytesRead = 0;
    long readsPastEnd = 0;

    static long getByte(void* self) {
        auto* source = static_cast<MemorySource*>(self);
        if (source->position >= static_cast<long>(source->bytes.size())) {
            ++source->readsPastEnd;
            return -1;
        }
        ++source->bytesRead;
        return source->bytes[source->position++];
    }
    static long seek(void* self, long position) {
        auto* source = static_cast<MemorySource*>(self);
        if (position >= 0) source->position = position;
        return source->position;
    }
};

std::string decodeAll(jpegintyp* context, int rows, int rowBytes) {
    std::vector<unsigned char> pixels(static_cast<std::size_t>(rows) * rowBytes);
    for (int y = 0; y < rows; ++y) jpegrealin(context, pixels.data() + y * rowBytes, rowBytes);
    return sha256Hex(pixels);
}

}  // namespace

TEST(JpegCallbackDecoding, DecodesTheSameRowsWithAndWithoutSeeking) {
    // The APP13 block of this file is kept, its APP1 is skipped: with a seek
    // callback the skip jumps over it, without one it reads through it.
    for (bool withSeek : {true, false}) {
        SCOPED_TRACE(withSeek);
        MemorySource source{fileBytes(dataPath("jpeg-ps-odd-resource-before-1005.jpg"))};
        int rows = 0, columns = 0, num = 0, den = 0, interpretation = 0, components = 0;
        jpegintyp* context =
            jpegreabeg(MemorySource::getByte, withSeek ? MemorySource::seek : nullptr, &rows,
                       &columns, &num, &den, &interpretation, &components, &source);
        ASSERT_NE(context, nullptr);
        EXPECT_EQ(rows, 149);
        EXPECT_EQ(columns, 227);
        EXPECT_EQ(num, 7250);
        EXPECT_EQ(den, 100);
        EXPECT_EQ(interpretation, 2);
        EXPECT_EQ(components, 3);
        EXPECT_FALSE(jpegIsProgressive(context));
        EXPECT_EQ(decodeAll(context, rows, 3 * columns),
                  "31141ff19b3e399b07645a84935533072d7c6173333d8712c719efb6e8481b37");
        jpegreaend(context);
        if (withSeek) {
            EXPECT_LT(source.bytesRead, static_cast<long>(source.bytes.size()));
        } else {
            EXPECT_EQ(source.bytesRead, static_cast<long>(source.bytes.size()));
        }
        EXPECT_EQ(source.readsPastEnd, 0);
    }
}

TEST(JpegCallbackDecoding, TruncatedDataEndsAtTheEndOfTheSource) {
    MemorySource source{fileBytes(dataPath("jpeg-truncated.jpg"))};
    int rows = 0, columns = 0;
    jpegintyp* context = jpegreabeg(MemorySource::getByte, MemorySource::seek, &rows, &columns,
                                    nullptr, nullptr, nullptr, nullptr, &source);
    ASSERT_NE(context, nullptr);
    EXPECT_EQ(decodeAll(context, rows, 3 * columns),
              "c749b74315a4953b843cdc9408d2d078ec13ffc8af0f1ae5b817d72f0e08c40d");
    jpegreaend(context);
    EXPECT_EQ(source.bytesRead, 3000);
    EXPECT_GE(source.readsPastEnd, 1);
}

TEST(JpegCallbackDecoding, ShortRowsAndBadInputAreSafe) {
    MemorySource source{fileBytes(dataPath("jpeg-progressive.jpg"))};
    int rows = 0, columns = 0;
    jpegintyp* context = jpegreabeg(MemorySource::getByte, MemorySource::seek, &rows, &columns,
                                    nullptr, nullptr, nullptr, nullptr, &source);
    ASSERT_NE(context, nullptr);
    EXPECT_TRUE(jpegIsProgressive(context));
    // A positive length bounds the copy.
    std::vector<unsigned char> row(16, 0xAB);
    jpegrealin(context, row.data(), 10);
    EXPECT_EQ(row[10], 0xAB);
    jpegrealin(context, nullptr, 10);
    jpegreaend(context);

    jpegrealin(nullptr, row.data(), 10);
    jpegreaend(nullptr);
    EXPECT_FALSE(jpegIsProgressive(nullptr));
    MemorySource empty;
    EXPECT_EQ(jpegreabeg(MemorySource::getByte, MemorySource::seek, &rows, &columns, nullptr,
                         nullptr, nullptr, nullptr, &empty),
              nullptr);
    MemorySource arithmetic{fileBytes(dataPath("jpeg-testimgari-arith-NEG.jpg"))};
    EXPECT_EQ(jpegreabeg(MemorySource::getByte, nullptr, nullptr, nullptr, nullptr, nullptr,
                         nullptr, nullptr, &arithmetic),
              nullptr);
}
