#pragma once
// A seekable byte sink with a fixed byte order for 16- and 32-bit values:
// order 1 writes the least significant byte first (an "II" file), any other
// value the most significant byte first (an "MM" file).
//
// Failures are sticky: once a write failed, or a position went beyond what a
// classic TIFF can address, every later write returns false and Failed()
// stays true.

#include <cstdint>

namespace QuillonCore {

class TiffOutStream {
  public:
    using ByteOrder = int;
    static constexpr ByteOrder kBigEndian = 0;
    static constexpr ByteOrder kLittleEndian = 1;
    // The last position a classic TIFF offset can hold.
    static constexpr std::uint64_t kMaxTiffPosition = 0xFFFFFFFFu;

    explicit TiffOutStream(ByteOrder byteOrder) : mByteOrder(byteOrder) {}
    virtual ~TiffOutStream() = default;
    TiffOutStream(const TiffOutStream&) = delete;
    TiffOutStream& operator=(const TiffOutStream&) = delete;

    virtual bool WriteUInt8(unsigned char value) = 0;
    virtual bool WriteUInt16(unsigned short value) = 0;
    virtual bool WriteUInt32(unsigned long value) = 0;
    virtual bool Write(const unsigned char* bytes, unsigned long count) = 0;
    virtual unsigned long long GetStreamPosition() = 0;
    virtual void SetStreamPosition(unsigned long long position) = 0;
    // Hands buffered bytes to the target; false when that (or anything
    // before) failed.
    virtual bool Flush() { return !mFailed; }

    ByteOrder GetByteOrder() const { return mByteOrder; }
    bool IsLittleEndian() const { return mByteOrder == kLittleEndian; }
    // Writes the text without its terminating NUL.
    bool WriteZeroTerminatedString(const char* text);

    bool Failed() const { return mFailed; }
    // Marks the stream failed (a caller found its data cannot be completed).
    void MarkFailed() { mFailed = true; }

  protected:
    // The value as the big-endian primitives must see it to come out in
    // this stream's order.
    std::uint16_t Ordered16(std::uint16_t value) const;
    std::uint32_t Ordered32(std::uint32_t value) const;
    // Records the result of a primitive; false from now on after a failure.
    bool Track(bool ok);

  private:
    ByteOrder mByteOrder;
    bool mFailed = false;
};

}  // namespace QuillonCore
