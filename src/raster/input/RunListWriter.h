#pragma once
// Run-list encoding shared by bwtorun and the readers' row converters.
//
// A run list is a sequence of native-order int32 values: the first and last
// index of each run of set pixels, then the terminator 2147483647. Room for
// the terminator is always kept: a value is written only when 4 bytes remain
// after it. On overflow the list is cut back to whole pairs and terminated
// (nothing at all is written when the capacity is below 4 bytes) and the
// encoder returns false; the caller reports 101.

namespace QuillonCore {

inline constexpr int kRunListTerminator = 2147483647;

// bits: packed row, most significant bit first; polarity 0 inverts it.
bool encodeRunList(unsigned char* runs, int capacityBytes, const unsigned char* bits, int width,
                   int polarity);

}  // namespace QuillonCore
