#pragma once
// PackBits (TIFF compression 32773), one row per call.
//
// A run or literal that would pass the row's end is cut at the end; the
// excess literal bytes are skipped so the stream stays in step with the
// next row. At the end of the data the rest of the row is zero-filled.

#include <span>

#include "raster/input/StripInput.h"

namespace QuillonCore {

enum class PackBitsRowResult { kComplete, kOverrun, kTruncated };

PackBitsRowResult decodePackBitsRow(StripInput& input, std::span<unsigned char> row);

}  // namespace QuillonCore
