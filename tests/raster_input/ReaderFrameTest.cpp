#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FakeReader.h"
#include "platform/velsys/RecoveryScope.h"
#include "support/TestSupport.h"

using namespace QuillonCore;
using namespace QuillonTest;
using Bytes = std::vector<unsigned char>;

TEST(ReaderFrame, NoRowsAfterTheLastOrWithoutAFile) {
    const FakeImage image;
    FakeFile file(image);
    FakeReader reader(&file.file, image);
    prepare(reader, 0);
    Bytes row(4, 7);
    for (int r = 0; r < image.rows; ++r) ASSERT_EQ(reader.pixrealin(row.data(), 4), 1);
    row.assign(4, 7);
    EXPECT_EQ(reader.pixrealin(row.data(), 4), 0);
    FakeReader noFile(nullptr, image);
    prepare(noFile, 0);
    EXPECT_EQ(noFile.pixrealin(row.data(), 4), 0);
    EXPECT_EQ(row, Bytes(4, 7));
}

TEST(ReaderFrame, AnErrorJumpsOnlyWhereARecoveryPointIsRegistered) {
    const FakeImage image;
    FakeFile file(image);
    MessageRecorder recorder;
    for (bool withRecoveryPoint : {false, true}) {
        SCOPED_TRACE(withRecoveryPoint);
        FakeReader reader(&file.file, image);
        prepare(reader, -4);
        bool returned = false;
        auto failingCall = [&] {
            reader.pixerror(VelGen::kSeverityError, VelGen::kVolatilityTransient,
                            std::string("CANNOT READ THIS FILE. UNSUPPORTED COLORSPACE"));
            returned = true;
        };
        EXPECT_EQ(runRecovering(&file.file, withRecoveryPoint, failingCall),
                  withRecoveryPoint ? -2 : 0);
        EXPECT_EQ(returned, !withRecoveryPoint);
        EXPECT_TRUE(reader.pixfailed());
        EXPECT_EQ(reader.pixrowsleft(), 0);
        Bytes row(16);
        EXPECT_EQ(reader.pixrealin(row.data(), 16), 0);
    }
    EXPECT_EQ(VelSys::filrecovery(&file.file), nullptr) << "the scope took its point away";
    ASSERT_EQ(recorder.said().size(), 2u);
    EXPECT_EQ(recorder.said()[0].text, "CANNOT READ THIS FILE. UNSUPPORTED COLORSPACE");
    EXPECT_EQ(recorder.said()[0].severity, VelGen::kSeverityError);
}

TEST(ReaderFrame, StandardChannelNames) {
    struct Case {
        int interpretation, index;
        const char* name;
        int result;
    } cases[] = {{0, -1, "Gray", 1}, {1, 0, "Gray", 1}, {1, 1, "", 1},
                 {2, 0, "Red", 3},   {2, 2, "Blue", 3}, {2, 3, "", 3},
                 {5, 3, "Black", 4}, {5, -1, "", 4},    {3, 0, "", 0}};
    for (const Case& c : cases) {
        FakeImage image;
        image.interpretation = c.interpretation;
        FakeFile file(image);
        FakeReader reader(&file.file, image);
        prepare(reader, 0);
        std::string name = "stale";
        EXPECT_EQ(reader.getChannelName(c.index, name), c.result);
        EXPECT_EQ(name, c.name) << c.interpretation << "/" << c.index;
    }
}
