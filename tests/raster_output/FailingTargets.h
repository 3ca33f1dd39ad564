#pragma once
// Output targets that fail once a number of bytes has been written.

#include <cstdint>
#include <vector>

#include "platform/velsys/FileIO.h"
#include "raster/output/TiffOutStream.h"

namespace QuillonTest {

// A memory stream accepting the first `limit` bytes (counted over every write,
// overwrites included) and failing every write after that.
class FailingTiffOutStream : public QuillonCore::TiffOutStream {
  public:
    FailingTiffOutStream(ByteOrder order, std::size_t limit)
        : TiffOutStream(order), mLimit(limit) {}

    bool WriteUInt8(unsigned char value) override { return Write(&value, 1); }
    bool WriteUInt16(unsigned short value) override;
    bool WriteUInt32(unsigned long value) override;
    bool Write(const unsigned char* bytes, unsigned long count) override;
    unsigned long long GetStreamPosition() override { return mPosition; }
    void SetStreamPosition(unsigned long long position) override { mPosition = position; }

  private:
    std::size_t mLimit, mWritten = 0;
    std::uint64_t mPosition = 0;
    std::vector<unsigned char> mBytes;
};

// A memory FileIO whose store fails beyond `limit` bytes of file.
class FailingFileIO : public VelSys::FileIO {
  public:
    explicit FailingFileIO(std::uint64_t limit) : mLimit(limit) {}

  protected:
    bool Store(std::uint64_t position, const unsigned char* bytes, std::size_t count) override {
        return position + count <= mLimit && FileIO::Store(position, bytes, count);
    }

  private:
    std::uint64_t mLimit;
};

}  // namespace QuillonTest
