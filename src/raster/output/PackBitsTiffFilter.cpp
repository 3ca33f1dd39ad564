#include "raster/output/PackBitsTiffFilter.h"

#include "raster/output/TiffWriter.h"

namespace QuillonCore {

bool PackBitsTiffFilter::Encode(const unsigned char* row, std::size_t byteCount, unsigned long) {
    TiffOutStream& stream = GetOutStream();
    const unsigned long long start = stream.GetStreamPosition();
    mEncoder.EncodeStrip(row, byteCount, mPacked);
    if (!stream.Write(mPacked.data(), mPacked.size())) return false;
    mStrips.Add(start, mPacked.size());
    return true;
}

bool PackBitsTiffFilter::Complete(TiffWriter& writer) {
    const bool ok = mStrips.Patch(GetOutStream(), writer.GetTiffHeaderInfo());
    mStrips.clear();
    return ok;
}

}  // namespace QuillonCore
