#pragma once
// The compressed (or raw) bytes of one strip, read from the reader's file in
// large blocks. It keeps its own file position, so several readers of one
// file can be interleaved, and never reads past the strip's byte budget or
// the end of the file. Bilevel data written least significant bit first
// (FillOrder 2) is put back in the usual bit order as it is read.

#include <cstdint>
#include <vector>

#include "platform/velsys/fil.h"

namespace QuillonCore {

class StripInput {
  public:
    StripInput(VelSys::fil* file, bool reverseBits);

    // Starts reading at an absolute file position with at most budget bytes.
    void begin(std::int64_t position, std::int64_t budget);

    // The next byte, or -1 at the end of the strip's data.
    int next() { return mAt < mLength ? mChunk[mAt++] : refillAndNext(); }
    // Copies up to count bytes; returns how many were available.
    int read(unsigned char* destination, int count);
    // Drops up to count bytes.
    void skip(std::int64_t count);
    bool atEnd();

  private:
    int refillAndNext();
    bool refill();
    int fetch(unsigned char* destination, std::int64_t count);

    VelSys::fil* mFile;
    bool mReverseBits;
    std::vector<unsigned char> mChunk;
    std::size_t mAt = 0;
    std::size_t mLength = 0;
    std::int64_t mNextPosition = 0;
    std::int64_t mRemaining = 0;
};

}  // namespace QuillonCore
