#pragma once
// Where the header writer left the strip values for the filters to patch.

#include <cstdint>

namespace QuillonCore {

struct TiffHeaderInfo {
    // Stream positions of the StripOffsets and StripByteCounts values, or of
    // their arrays when there is more than one strip.
    std::uint64_t stripOffsetsPosition = 0;
    std::uint64_t stripByteCountsPosition = 0;
    // The number of strips the directory declares: the filters never patch
    // more than this.
    std::uint64_t stripCount = 0;
    // The stream position of the file's first byte. Offsets in the file are
    // counted from it, strip offsets included.
    std::uint64_t origin = 0;
};

}  // namespace QuillonCore
