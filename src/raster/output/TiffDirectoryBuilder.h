#pragma once
// An image file directory being put together: its entries (written in
// ascending tag order) and the data blocks of the values that do not fit in
// an entry. Values of at most four bytes sit in the entry itself; longer
// ones go into blocks after the directory (and after any reserved space),
// in the order they were added.

#include <cstdint>
#include <vector>

namespace QuillonCore {

class TiffOutStream;

class TiffDirectoryBuilder {
  public:
    enum Type : std::uint16_t { kByte = 1, kAscii = 2, kShort = 3, kLong = 4, kRational = 5 };

    explicit TiffDirectoryBuilder(bool littleEndian) : mLittleEndian(littleEndian) {}

    // A value held in the entry: a single SHORT (in its first two bytes), or
    // a 32-bit value: a LONG, or the offset of values the caller places.
    void AddValue(std::uint16_t tag, Type type, std::uint32_t count, std::uint32_t value);
    // Two SHORT values in the entry.
    void AddShortPair(std::uint16_t tag, std::uint32_t count, std::uint16_t first,
                      std::uint16_t second);
    // Values given as file bytes; keepBlock writes the block even when the
    // bytes also fit in the entry.
    void AddData(std::uint16_t tag, Type type, std::uint32_t count,
                 std::vector<unsigned char> bytes, bool keepBlock = false);
    void SetValue(std::uint16_t tag, std::uint32_t value);
    // Bytes (zeros) between the directory and the first block.
    void Reserve(std::uint32_t bytes) { mReserved = bytes; }

    // SHORT values as file bytes in this directory's byte order.
    std::vector<unsigned char> Shorts(const std::vector<std::uint16_t>& values) const;

    // Offsets (from the file's first byte) when the directory starts at
    // directoryOffset.
    std::uint64_t DirectoryEnd(std::uint64_t directoryOffset) const;
    std::uint64_t BlocksEnd(std::uint64_t directoryOffset) const;
    // Where the value field of an entry lies, relative to the directory.
    std::uint64_t ValueFieldOffset(std::uint16_t tag) const;

    // Writes the directory, the reserved space and the blocks; the stream
    // must stand at directoryOffset.
    bool Write(TiffOutStream& stream, std::uint64_t directoryOffset);

  private:
    struct Entry {
        std::uint16_t tag;
        Type type;
        std::uint32_t count;
        std::uint32_t value;               // LONG value, offset, or SHORT
        std::vector<unsigned char> bytes;  // file bytes, when given so
        bool pair = false;
        std::uint16_t second = 0;
        bool keepBlock = false;
        bool HasBlock() const { return bytes.size() > 4 || keepBlock; }
    };
    bool WriteEntry(TiffOutStream& stream, const Entry& entry, std::uint64_t blockOffset) const;
    Entry* Find(std::uint16_t tag);

    bool mLittleEndian;
    std::vector<Entry> mEntries;
    std::vector<std::size_t> mBlockOrder;  // entries with blocks, in order of addition
    std::uint32_t mReserved = 0;
};

}  // namespace QuillonCore
