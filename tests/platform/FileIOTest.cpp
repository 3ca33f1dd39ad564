#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "platform/velsys/FileIO.h"
#include "support/TestSupport.h"

using VelSys::FileIO;

namespace {

std::vector<unsigned char> fileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace

// Big-endian values, a seek back that overwrites, and a write beyond the
// buffer, into a real file.
TEST(FileIO, WritesSeeksAndOverwritesAFile) {
    const std::string path = QuillonTest::tempPath("io.bin");
    FileIO io;
    ASSERT_TRUE(io.Create(path));
    const std::vector<unsigned char> big(100000, 7);
    EXPECT_TRUE(io.WriteUInt32(0));
    EXPECT_TRUE(io.Write(big.data(), big.size()));
    EXPECT_TRUE(io.Seek(0));
    EXPECT_TRUE(io.WriteUInt16(0x1234) && io.WriteUInt8(0x56));
    EXPECT_EQ(io.GetPosition(), 3u);
    EXPECT_TRUE(io.Close());
    const std::vector<unsigned char> bytes = fileBytes(path);
    ASSERT_EQ(bytes.size(), 100004u);
    EXPECT_EQ(std::vector<unsigned char>(bytes.begin(), bytes.begin() + 5),
              (std::vector<unsigned char>{0x12, 0x34, 0x56, 0, 7}));
    EXPECT_FALSE(io.WriteUInt8(1)) << "after Close";
}

TEST(FileIO, AFileThatCannotBeCreatedTakesNoWrites) {
    FileIO io;
    EXPECT_FALSE(io.Create(QuillonTest::tempPath("missing-folder/x/y.bin")));
    EXPECT_FALSE(io.WriteUInt32(1));
    EXPECT_TRUE(io.Failed());
    EXPECT_TRUE(io.contents().empty());
}
