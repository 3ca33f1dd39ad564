#include "FakeReader.h"

#include "raster/input/RunListWriter.h"
#include "services/Localization.h"

namespace QuillonTest {

namespace {
// Messages of these suites are said through the library's convertor.
const bool kConvertorInstalled = (QuillonCore::LocalizationInitialize(), true);
}  // namespace

std::vector<unsigned char> FakeImage::bytes() const {
    std::vector<unsigned char> out;
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < width; ++c)
            for (int s = 0; s < samples; ++s) out.push_back(value(r, c, s));
    return out;
}

int FakeReader::pixreaini(int* numerator, int* denominator, int* rows, int* columns, int selector,
                          unsigned int imageOffset) {
    mWidth = mImage.width;
    mSamplesPerPixel = mImage.samples;
    mInterpretation = mImage.interpretation;
    mOutputSelector = selector;
    mImageOffset = imageOffset;
    mRowsLeft = mImage.rows;
    *numerator = 72, *denominator = 1, *rows = mImage.rows, *columns = mImage.width;
    return 0;
}

int FakeReader::ConvertRow(unsigned char* dst, int length) {
    std::vector<unsigned char> row(static_cast<std::size_t>(mWidth) * mSamplesPerPixel);
    // Several readers may share the handle: each reads from its own place.
    VelSys::filpos(mFile, static_cast<int>(rowsRead * row.size()));
    VelSys::filrea(mFile, row.data(), static_cast<int>(row.size()));
    if (rowsRead++ == failAtRow) {
        pixerror(VelGen::kSeverityError, VelGen::kVolatilityTransient, 102);
        return 0;
    }
    if (!dst) return 1;
    const int spp = mSamplesPerPixel;
    if (mOutputSelector == -4) {
        std::copy(row.begin(), row.end(), dst);
    } else if (mOutputSelector == -2) {
        std::vector<unsigned char> gray(row.size());
        for (int c = 0; c < mWidth; ++c) gray[c] = row[c * spp];
        QuillonCore::graytobw(gray.data(), mWidth);
        if (!QuillonCore::encodeRunList(dst, length, gray.data(), mWidth, 1)) {
            pixerror(VelGen::kSeverityError, VelGen::kVolatilityTransient, 101);
            return 0;
        }
    } else {
        const int perPixel = mOutputSelector >= 0 ? 1 : static_cast<int>(LayoutRowBytes() / mWidth);
        const int first = mOutputSelector >= 0 ? mOutputSelector : 0;
        for (int c = 0; c < mWidth; ++c)
            for (int k = 0; k < perPixel; ++k)
                dst[c * perPixel + k] = row[c * spp + (first + k) % spp];
    }
    return 1;
}

int prepare(FakeReader& reader, int selector, unsigned int imageOffset) {
    int n, d, rows, columns;
    return reader.pixreaini(&n, &d, &rows, &columns, selector, imageOffset);
}

}  // namespace QuillonTest
