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

// What CountingLink(n, 4) makes of a pixel, as the caller receives it for a
// selected separation: 255 minus (first sample + 10 x (separation + 1)).
unsigned char expectedInverse(int row, int column, int separation) {
    return static_cast<unsigned char>(255 -
                                      (FakeImage::value(row, column, 0) + 10 * (separation + 1)));
}

Bytes expectedSeparationRow(const FakeImage& image, int row, int separation) {
    Bytes out;
    for (int c = 0; c < image.width; ++c) out.push_back(expectedInverse(row, c, separation));
    return out;
}

std::unique_ptr<FakeReader> managedReader(VelSys::fil* file, const FakeImage& image,
                                          VelGen::colsynlnk* link, int separation,
                                          unsigned int offset = 0) {
    auto reader = std::make_unique<FakeReader>(file, image);
    EXPECT_EQ(prepare(*reader, -4, offset), 0);
    reader->pixcolsynini(link, true, separation);
    return reader;
}

}  // namespace

TEST(ColourSynthesis, ReadersOfOneImageConvertEachRowOnce) {
    const FakeImage image;
    FakeFile one(image);
    CountingLink link(4, 4);
    auto cyan = managedReader(&one.file, image, &link, 0);
    auto magenta = managedReader(&one.file, image, &link, 1);
    EXPECT_TRUE(cyan->sharesSynthesisRow());
    EXPECT_TRUE(magenta->sharesSynthesisRow());
    EXPECT_EQ(pixreatyp::sPixcolorCache.referenceCount(), 2);
    for (int r = 0; r < image.rows; ++r) {
        Bytes c(image.width), m(image.width);
        ASSERT_EQ(cyan->pixrealin(c.data(), image.width), 1);
        ASSERT_EQ(magenta->pixrealin(m.data(), image.width), 1);
        EXPECT_EQ(c, expectedSeparationRow(image, r, 0));
        EXPECT_EQ(m, expectedSeparationRow(image, r, 1));
    }
    EXPECT_EQ(link.pixels, image.rows * image.width) << "each row converted once";
    EXPECT_EQ(magenta->rowsRead, image.rows) << "the partner still consumes its own rows";
    cyan->pixreaend();
    cyan->pixreaend();  // a second end does not count again
    EXPECT_EQ(pixreatyp::sPixcolorCache.referenceCount(), 1);
    magenta.reset();  // destruction ends the share
    EXPECT_EQ(pixreatyp::sPixcolorCache.referenceCount(), 0);
}

TEST(ColourSynthesis, OtherImagesKeepTheirOwnRow) {
    const FakeImage image;
    FakeFile one(image), other(image);
    CountingLink link(4, 4), otherLink(4, 4);
    auto first = managedReader(&one.file, image, &link, 0);
    FakeImage narrower = image;
    narrower.width = 2;
    struct Case {
        const char* name;
        VelSys::fil* file;
        FakeImage image;
        VelGen::colsynlnk* link;
        unsigned int offset;
    } cases[] = {{"another file", &other.file, image, &link, 0},
                 {"another image of the file", &one.file, image, &link, 8},
                 {"another width", &one.file, narrower, &link, 0},
                 {"another link", &one.file, image, &otherLink, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto second = managedReader(c.file, c.image, c.link, 0, c.offset);
        EXPECT_FALSE(second->sharesSynthesisRow());
        Bytes row(c.image.width);
        ASSERT_EQ(second->pixrealin(row.data(), c.image.width), 1);
        EXPECT_EQ(row, expectedSeparationRow(c.image, 0, 0));
    }
    EXPECT_EQ(pixreatyp::sPixcolorCache.referenceCount(), 1);
}

TEST(ColourSynthesis, AFailedRowIsNeverTakenByThePartner) {
    const FakeImage image;
    FakeFile one(image);
    CountingLink link(4, 4);
    MessageRecorder recorder;
    auto failing = managedReader(&one.file, image, &link, 0);
    auto partner = managedReader(&one.file, image, &link, 1);
    Bytes row(image.width);
    ASSERT_EQ(failing->pixrealin(row.data(), image.width), 1);
    ASSERT_EQ(partner->pixrealin(row.data(), image.width), 1);
    failing->failAtRow = 1;
    {
        VelSys::RecoveryScope point(&one.file);
        EXPECT_EQ(point.run([&] { failing->pixrealin(row.data(), image.width); }), -2);
    }
    EXPECT_EQ(failing->pixrealin(row.data(), image.width), 0) << "a failed reader stays exhausted";
    ASSERT_EQ(partner->pixrealin(row.data(), image.width), 1);
    EXPECT_EQ(row, expectedSeparationRow(image, 1, 1));
    ASSERT_EQ(recorder.said().size(), 1u);
    EXPECT_EQ(recorder.said()[0].text, "ERROR IN FILE FORMAT");
}

TEST(ColourSynthesis, AllSeparationsWithExtraChannelsAndFailingPixels) {
    FakeImage gray;
    gray.samples = 2, gray.interpretation = 1, gray.rows = 1, gray.width = 2;
    FakeFile file(gray);
    CountingLink link(2, 4);
    auto reader = managedReader(&file.file, gray, &link, -1);
    EXPECT_EQ(reader->getOutputSeps(), 5);
    Bytes row(10);
    ASSERT_EQ(reader->pixrealin(row.data(), 10), 1);
    // Four link outputs, then the extra channel as stored.
    EXPECT_EQ(row, (Bytes{10, 20, 30, 40, 1, 20, 30, 40, 50, 11}));

    FakeFile again(gray);
    auto failingLink = managedReader(&again.file, gray, &link, -1);
    link.fail = true;
    ASSERT_EQ(failingLink->pixrealin(row.data(), 10), 1);
    EXPECT_EQ(row, (Bytes{0, 0, 0, 0, 1, 0, 0, 0, 0, 11})) << "no ink where the link failed";
}

TEST(ColourSynthesis, UnusableSetupsFailTheReaderOnce) {
    CountingLink link(4, 4);
    struct Case {
        const char* name;
        int interpretation, samples, selector, separation;
        bool withLink;
    } cases[] = {{"palette", 3, 1, -4, 0, true},
                 {"RGB with two samples", 2, 2, -4, 0, true},
                 {"CMYK with three samples", 5, 3, -4, 0, true},
                 {"no link", 5, 4, -4, 0, false},
                 {"preview layout", 5, 4, -1, 0, true},
                 {"separation past the count", 5, 4, -4, 4, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeImage image;
        image.interpretation = c.interpretation, image.samples = c.samples;
        FakeFile file(image);
        FakeReader reader(&file.file, image);
        prepare(reader, c.selector);
        MessageRecorder recorder;
        reader.pixcolsynini(c.withLink ? &link : nullptr, true, c.separation);
        Bytes row(64, 7);
        EXPECT_EQ(reader.pixrealin(row.data(), 64), 0);
        EXPECT_EQ(reader.pixrealin(row.data(), 64), 0);
        EXPECT_EQ(row, Bytes(64, 7));
        ASSERT_EQ(recorder.said().size(), 1u);
        EXPECT_EQ(recorder.said()[0].text, "ERROR IN FILE FORMAT");
        EXPECT_FALSE(reader.sharesSynthesisRow());
    }
    EXPECT_EQ(link.calls, 0);
}

TEST(ColourSynthesis, CopiesAndRepeatedSetupKeepTheCountRight) {
    const FakeImage image;
    FakeFile one(image);
    CountingLink link(4, 4);
    auto reader = managedReader(&one.file, image, &link, 0);
    reader->pixcolsynini(&link, true, 1);  // releases the first setup
    EXPECT_EQ(pixreatyp::sPixcolorCache.referenceCount(), 1);
    {
        FakeReader copy(*reader);
        EXPECT_EQ(pixreatyp::sPixcolorCache.referenceCount(), 2);
        FakeReader assigned(&one.file, image);
        assigned = copy;
        assigned = assigned;
        EXPECT_EQ(pixreatyp::sPixcolorCache.referenceCount(), 3);
        Bytes row(image.width);
        ASSERT_EQ(copy.pixrealin(row.data(), image.width), 1);
        EXPECT_EQ(row, expectedSeparationRow(image, 0, 1));
    }
    EXPECT_EQ(pixreatyp::sPixcolorCache.referenceCount(), 1);
    reader.reset();
    EXPECT_EQ(pixreatyp::sPixcolorCache.referenceCount(), 0);
}

TEST(ColourSynthesis, RowsTooLargeToHoldFailWithOutOfMemory) {
    FakeImage huge;
    huge.width = 1 << 30, huge.samples = 4;
    FakeFile file(FakeImage{});
    CountingLink link(4, 4);
    FakeReader reader(&file.file, huge);
    prepare(reader, -4);
    MessageRecorder recorder;
    reader.pixcolsynini(&link, true, 0);
    EXPECT_TRUE(reader.pixfailed());
    ASSERT_EQ(recorder.said().size(), 1u);
    EXPECT_EQ(recorder.said()[0].text, "OUT OF MEMORY");
    EXPECT_EQ(pixreatyp::sPixcolorCache.referenceCount(), 0);
}
