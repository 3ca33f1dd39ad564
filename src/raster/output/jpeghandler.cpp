#include "raster/output/jpeghandler.h"

#include <algorithm>

namespace QuillonCore {

jpeghandler::jpeghandler(VelSys::fil* file, int colourType, int width, int height,
                         int resolutionNumerator, int resolutionDenominator, int quality,
                         bool perInch)
    : ql_jpeg_compressor(colourType, height, width, resolutionNumerator, resolutionDenominator,
                         quality, perInch),
      mFile(file),
      mWidth(width),
      mHeight(height),
      mComponents(std::max(ColorspaceInfo::ModelChannels(colourType), 1)) {
    if (isUsable()) mRow.resize(static_cast<std::size_t>(width) * mComponents);
}

int jpeghandler::handlebytes(const unsigned char* bytes, std::size_t count) {
    if (mRow.empty()) return 1;
    int failed = 0;
    while (count > 0) {
        const std::size_t take = std::min(count, mRow.size() - mRowPosition);
        unsigned char* out = mRow.data() + mRowPosition;
        for (std::size_t i = 0; i < take; ++i) out[i] = static_cast<unsigned char>(255 - bytes[i]);
        bytes += take;
        count -= take;
        mRowPosition += take;
        if (mRowPosition == mRow.size()) {
            mRowPosition = 0;
            if (ql_compress_line(mRow.data()) != 0) failed = 1;
        }
    }
    return failed;
}

int jpeghandler::endcompression() {
    return end_compression();
}

int jpeghandler::putUInt8(unsigned char byte) {
    return putBytes(&byte, 1) ? 0 : 1;
}

bool jpeghandler::putBytes(const unsigned char* bytes, std::size_t count) {
    if (!mFile) return false;
    VelSys::filwri(mFile, bytes, static_cast<int>(count));
    return VelSys::filerr(mFile) == 0;
}

}  // namespace QuillonCore
