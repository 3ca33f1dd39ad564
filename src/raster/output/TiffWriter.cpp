#include "raster/output/TiffWriter.h"

#include <climits>

#include "raster/output/LzwTiffFilter.h"
#include "raster/output/TiffOutputHeader.h"

namespace QuillonCore {

namespace {

bool fitsInt(unsigned long value) {
    return value <= static_cast<unsigned long>(INT_MAX);
}
bool fitsInt(long value) {
    return value >= INT_MIN && value <= INT_MAX;
}

}  // namespace

TiffWriter::TiffWriter(std::unique_ptr<TiffFilter> filter, unsigned long width,
                       unsigned long height, unsigned long bitsPerSample,
                       unsigned long samplesPerPixel, const ColorspaceInfo& colorspace,
                       unsigned long resolutionNumerator, unsigned long resolutionDenominator,
                       long centimetre, long orientation, const VelDB::Object* clippingPath,
                       long horizontalOrigin, long verticalOrigin, const std::string& software,
                       const std::string& description)
    : mFilter(std::move(filter)),
      mSamplesPerPixel(samplesPerPixel),
      mWidth(width),
      mHeight(height),
      mRowBytes(TiffRowBytes(width, samplesPerPixel, bitsPerSample)) {
    const bool representable = mFilter && fitsInt(width) && fitsInt(height) &&
                               fitsInt(bitsPerSample) && fitsInt(samplesPerPixel) &&
                               resolutionNumerator <= 0xFFFFFFFFul &&
                               resolutionDenominator <= 0xFFFFFFFFul && fitsInt(orientation) &&
                               fitsInt(horizontalOrigin) && fitsInt(verticalOrigin);
    if (representable) {
        auto* lzw = dynamic_cast<LzwTiffFilter*>(mFilter.get());
        mHeaderWritten = TiffOutputHeader(
            mFilter->GetOutStream(), static_cast<int>(width), static_cast<int>(height),
            static_cast<int>(bitsPerSample), static_cast<int>(samplesPerPixel), colorspace,
            static_cast<int>(resolutionNumerator), static_cast<int>(resolutionDenominator),
            centimetre ? 1 : 0, static_cast<int>(orientation), mFilter->GetCompressionType(),
            lzw ? lzw->Getlzwouttyp() : nullptr, clippingPath, static_cast<int>(verticalOrigin),
            static_cast<int>(horizontalOrigin), software, mHeaderInfo, description);
    }
    mFailed = !mHeaderWritten;
    if (mHeaderWritten) mFilter->Start();
}

TiffWriter::~TiffWriter() {
    Flush();
}

bool TiffWriter::Write(const unsigned char* row, unsigned long pixelCount) {
    if (Failed() || mFinished || !row || pixelCount == 0 || pixelCount % mWidth != 0) return false;
    const unsigned long rows = pixelCount / mWidth;
    if (rows > mHeight - mRowsWritten) return false;
    for (unsigned long r = 0; r < rows; ++r) {
        if (!mFilter->WriteBytes(row + r * mRowBytes, mRowBytes, mSamplesPerPixel)) return false;
        ++mRowsWritten;
    }
    return true;
}

void TiffWriter::Flush() {
    if (mFinished) return;
    mFinished = true;
    if (!mHeaderWritten) return;
    mFilter->Finish(*this);
    if (mRowsWritten < mHeight) mFailed = true;
}

bool TiffWriter::Failed() const {
    return mFailed || !mFilter || mFilter->Failed();
}

}  // namespace QuillonCore
