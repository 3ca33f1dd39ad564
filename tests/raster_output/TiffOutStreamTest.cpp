#include <gtest/gtest.h>

#include <climits>

#include "platform/velsys/FileIO.h"
#include "platform/velsys/fil.h"
#include "raster/output/FilTiffOutStream.h"
#include "raster/output/FileIOTiffOutStream.h"

using namespace QuillonCore;

namespace {

using Bytes = std::vector<unsigned char>;

void writeValues(TiffOutStream& stream) {
    stream.WriteUInt16(0x1234);
    stream.WriteUInt32(0x12345678);
    stream.WriteUInt8(0xAB);
    stream.WriteZeroTerminatedString("ok");
}

const Bytes kLittle = {0x34, 0x12, 0x78, 0x56, 0x34, 0x12, 0xAB, 'o', 'k'};
const Bytes kBig = {0x12, 0x34, 0x12, 0x34, 0x56, 0x78, 0xAB, 'o', 'k'};

}  // namespace

TEST(TiffOutStream, ValuesComeOutInTheStreamsByteOrderOverBothTargets) {
    for (auto order : {TiffOutStream::kLittleEndian, TiffOutStream::kBigEndian}) {
        const Bytes& expected = order == TiffOutStream::kLittleEndian ? kLittle : kBig;
        VelSys::fil file;
        file.createMemory();
        FilTiffOutStream onFil(file, order);
        writeValues(onFil);
        EXPECT_EQ(file.contents(), expected);
        EXPECT_EQ(onFil.GetStreamPosition(), expected.size());

        VelSys::FileIO io;
        FileIOTiffOutStream onIO(io, order);
        writeValues(onIO);
        EXPECT_EQ(io.contents(), expected);
        EXPECT_EQ(io.mFlags, 1);
        EXPECT_FALSE(onFil.Failed() || onIO.Failed());
    }
}

TEST(TiffOutStream, SeekingBackOverwritesInPlace) {
    VelSys::FileIO io;
    FileIOTiffOutStream stream(io, TiffOutStream::kBigEndian);
    stream.WriteUInt32(0);
    stream.WriteUInt32(0x01020304);
    stream.SetStreamPosition(0);
    stream.WriteUInt16(0xBEEF);
    stream.SetStreamPosition(8);
    EXPECT_EQ(io.contents(), (Bytes{0xBE, 0xEF, 0, 0, 1, 2, 3, 4}));
}

// A position the file handle cannot hold fails the stream for good instead
// of wrapping into a negative offset.
TEST(TiffOutStream, PositionBeyondTheHandlesRangeFailsStickily) {
    VelSys::fil file;
    file.createMemory();
    FilTiffOutStream stream(file, TiffOutStream::kLittleEndian);
    stream.SetStreamPosition(static_cast<unsigned long long>(INT_MAX) + 1);
    EXPECT_TRUE(stream.Failed());
    stream.SetStreamPosition(0);
    EXPECT_FALSE(stream.WriteUInt8(1));
}
