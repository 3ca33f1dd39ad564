#include "raster/output/LzwTiffFilter.h"

#include <stdexcept>

#include "raster/output/FilTiffOutStream.h"
#include "raster/output/FileIOTiffOutStream.h"

namespace QuillonCore {

namespace {

lzwouttyp* encoderFor(TiffOutStream& stream) {
    const int littleEndian = stream.IsLittleEndian() ? 1 : 0;
    if (auto* onFil = dynamic_cast<FilTiffOutStream*>(&stream))
        return tiflzwoutini(&onFil->Getfil(), littleEndian);
    if (auto* onIO = dynamic_cast<FileIOTiffOutStream*>(&stream))
        return tiflzwoutini(&onIO->GetFileIO(), littleEndian);
    throw std::logic_error("QuillonCore::LzwTiffFilter: please add the appropriate switch.");
}

}  // namespace

LzwTiffFilter::LzwTiffFilter(std::unique_ptr<TiffOutStream> stream)
    : TiffFilter(std::move(stream), kTifCompressionLzw), mEncoder(encoderFor(GetOutStream())) {
    if (!mEncoder) MarkFailed();
}

LzwTiffFilter::~LzwTiffFilter() {
    tiflzwoutexi(mEncoder);
}

bool LzwTiffFilter::Encode(const unsigned char* row, std::size_t byteCount,
                           unsigned long samplesPerPixel) {
    if (!mEncoder) return false;
    const int samples = samplesPerPixel > 0x7FFFFFFF ? 0 : static_cast<int>(samplesPerPixel);
    return tiflzwoutrow(mEncoder, row, byteCount, samples) == 0;
}

bool LzwTiffFilter::Complete(TiffWriter&) {
    lzwouttyp* encoder = mEncoder;
    mEncoder = nullptr;
    return tiflzwoutexi(encoder);
}

}  // namespace QuillonCore
