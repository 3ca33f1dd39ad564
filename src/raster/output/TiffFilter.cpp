#include "raster/output/TiffFilter.h"

#include "platform/velsys/Arithmetic.h"

namespace QuillonCore {

TiffFilter::TiffFilter(std::unique_ptr<TiffOutStream> stream, tifcompression compression)
    : mStream(std::move(stream)), mCompression(compression) {}

TiffFilter::~TiffFilter() = default;

bool TiffFilter::Write(const unsigned char* row, unsigned long pixelCount,
                       unsigned long samplesPerPixel) {
    const auto bytes = VelSys::checkedMul(static_cast<std::int64_t>(pixelCount),
                                          static_cast<std::int64_t>(samplesPerPixel));
    if (!bytes) {
        MarkFailed();
        return false;
    }
    return WriteBytes(row, static_cast<std::size_t>(*bytes), samplesPerPixel);
}

bool TiffFilter::WriteBytes(const unsigned char* row, std::size_t byteCount,
                            unsigned long samplesPerPixel) {
    if (mFinished || (!row && byteCount > 0)) MarkFailed();
    if (Failed()) return false;
    if (!Encode(row, byteCount, samplesPerPixel)) MarkFailed();
    return !Failed();
}

void TiffFilter::Finish(TiffWriter& writer) {
    if (mFinished) return;
    mFinished = true;
    if (!Complete(writer) || !mStream->Flush()) MarkFailed();
}

}  // namespace QuillonCore
