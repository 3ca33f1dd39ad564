#include "raster/output/StripTable.h"

#include <algorithm>

#include "raster/output/TiffOutStream.h"

namespace QuillonCore {

bool StripTable::Fits(const Strip& strip, std::uint64_t origin) const {
    return strip.start >= origin && strip.start - origin <= TiffOutStream::kMaxTiffPosition &&
           strip.byteCount <= TiffOutStream::kMaxTiffPosition - (strip.start - origin);
}

bool StripTable::Patch(TiffOutStream& stream, const TiffHeaderInfo& layout) const {
    const std::size_t count =
        static_cast<std::size_t>(std::min<std::uint64_t>(mStrips.size(), layout.stripCount));
    for (std::size_t i = 0; i < count; ++i) {
        if (!Fits(mStrips[i], layout.origin)) {
            stream.MarkFailed();
            return false;
        }
    }
    const unsigned long long resume = stream.GetStreamPosition();
    bool ok = true;
    stream.SetStreamPosition(layout.stripOffsetsPosition);
    for (std::size_t i = 0; i < count; ++i)
        ok = stream.WriteUInt32(mStrips[i].start - layout.origin) && ok;
    stream.SetStreamPosition(layout.stripByteCountsPosition);
    for (std::size_t i = 0; i < count; ++i) ok = stream.WriteUInt32(mStrips[i].byteCount) && ok;
    stream.SetStreamPosition(resume);
    return ok && !stream.Failed();
}

}  // namespace QuillonCore
