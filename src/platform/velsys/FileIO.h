#pragma once
// The system library's seekable byte sink: a write-only file (or a block of
// memory) with 64-bit positions. Multi-byte integers are written big-endian.
// Failures are sticky: after one, every write returns false.
//
// Writes collect in a buffer that goes to the backing store when it is full,
// on Seek, Flush and Close; a failure of the store shows at that moment.
// Subclasses may replace the store (Store) to direct the bytes elsewhere.

#include <cstdint>
#include <string>
#include <vector>

namespace VelSys {

class FileIO {
  public:
    // An empty in-memory sink.
    FileIO();
    virtual ~FileIO();
    FileIO(const FileIO&) = delete;
    FileIO& operator=(const FileIO&) = delete;

    // Creates (or truncates) the file at a UTF-8 path; false (and the sink
    // failed) when it cannot.
    bool Create(const std::string& pathUtf8);
    // Flushes and closes the file; false when anything failed. Writing to a
    // closed file fails.
    bool Close();
    bool Flush();

    bool WriteUInt8(std::uint8_t value);
    bool WriteUInt16(std::uint16_t value);
    bool WriteUInt32(std::uint32_t value);
    bool Write(const void* bytes, std::size_t count);

    std::uint64_t GetPosition() const { return mPosition; }
    // Moves to a position counted from the start; writing there overwrites.
    bool Seek(std::uint64_t position);

    bool Failed() const { return mFailed; }
    // The memory sink's bytes (flushed); empty for a file.
    const std::vector<unsigned char>& contents();

    // Set by writers that own the object's content from now on; the sink
    // itself does not interpret it.
    int mFlags = 0;

  protected:
    // Puts bytes at an absolute position of the backing store.
    virtual bool Store(std::uint64_t position, const unsigned char* bytes, std::size_t count);

  private:
    bool Fail();
    int mDescriptor = -1;
    std::vector<unsigned char> mMemory;
    std::vector<unsigned char> mBuffer;
    std::uint64_t mBufferStart = 0;
    std::uint64_t mPosition = 0;
    bool mFailed = false;
    bool mClosedFile = false;
};

}  // namespace VelSys
