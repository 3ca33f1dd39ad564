#pragma once
// The (start, byte count) of each strip a compressing filter wrote, and the
// patching of the header's StripOffsets and StripByteCounts from them.

#include <cstdint>
#include <vector>

#include "raster/output/TiffHeaderInfo.h"

namespace QuillonCore {

class TiffOutStream;

class StripTable {
  public:
    void Add(std::uint64_t start, std::uint64_t byteCount) {
        mStrips.push_back({start, byteCount});
    }
    std::size_t size() const { return mStrips.size(); }
    void clear() { mStrips.clear(); }

    // Writes the strip starts (relative to layout.origin) from
    // layout.stripOffsetsPosition on and the byte counts from
    // layout.stripByteCountsPosition on, for at most layout.stripCount strips,
    // then returns to the position it found. False (and the stream marked
    // failed) when a value does not fit a classic TIFF or a write failed.
    bool Patch(TiffOutStream& stream, const TiffHeaderInfo& layout) const;

  private:
    struct Strip {
        std::uint64_t start;
        std::uint64_t byteCount;
    };
    bool Fits(const Strip& strip, std::uint64_t origin) const;
    std::vector<Strip> mStrips;
};

}  // namespace QuillonCore
