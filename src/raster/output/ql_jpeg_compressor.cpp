#include "raster/output/ql_jpeg_compressor.h"

#include <algorithm>

#include "platform/velsys/Arithmetic.h"

namespace QuillonCore {

namespace {

constexpr int kMaxDensity = 65535;

// The JFIF density: resolution numerator / denominator in pixels per unit.
// An unusable resolution writes no unit and an aspect ratio of 1:1.
void setDensity(jpeg_compress_struct& compressor, int numerator, int denominator, bool perInch) {
    const int density = denominator > 0 ? VelSys::muldiv(numerator, 1, denominator) : 0;
    if (density <= 0) {
        compressor.density_unit = 0;
        compressor.X_density = compressor.Y_density = 1;
        return;
    }
    compressor.density_unit = perInch ? 1 : 2;
    compressor.X_density = compressor.Y_density =
        static_cast<UINT16>(std::min(density, kMaxDensity));
}

}  // namespace

ql_jpeg_compressor::ql_jpeg_compressor(int colourType, int height, int width,
                                       int resolutionNumerator, int resolutionDenominator,
                                       int quality, bool perInch)
    : mHeight(height) {
    mCompressor.err = mErrors.install();
    mDestination.sink = [this](const unsigned char* bytes, std::size_t count) {
        return putBytes(bytes, count);
    };
    jpeg_compress_struct* compressor = &mCompressor;
    mCreated = runGuarded(mErrors, [compressor] { jpeg_create_compress(compressor); });
    if (!mCreated || ColorspaceInfo::ModelChannels(colourType) == 0 || width <= 0 || height <= 0 ||
        width > JPEG_MAX_DIMENSION || height > JPEG_MAX_DIMENSION) {
        mState = State::kFailed;
        return;
    }
    mDestination.attach(&mCompressor, width);
    mCompressor.image_width = static_cast<JDIMENSION>(width);
    mCompressor.image_height = static_cast<JDIMENSION>(height);
    configure(colourType, resolutionNumerator, resolutionDenominator, quality, perInch);
}

void ql_jpeg_compressor::configure(int colourType, int resolutionNumerator,
                                   int resolutionDenominator, int quality, bool perInch) {
    const int components = ColorspaceInfo::ModelChannels(colourType);
    mCompressor.input_components = components;
    mCompressor.in_color_space = components == 4   ? JCS_CMYK
                                 : components == 3 ? JCS_RGB
                                                   : JCS_GRAYSCALE;
    jpeg_compress_struct* compressor = &mCompressor;
    const bool configured = runGuarded(mErrors, [compressor, components, quality] {
        jpeg_set_defaults(compressor);
        if (components == 3) jpeg_set_colorspace(compressor, JCS_YCbCr);
        if (components == 4) jpeg_set_colorspace(compressor, JCS_YCCK);
        jpeg_set_quality(compressor, quality, TRUE);
    });
    if (!guarded(configured)) return;
    // The reader takes the density from JFIF, so CMYK files carry it too.
    mCompressor.write_JFIF_header = TRUE;
    setDensity(mCompressor, resolutionNumerator, resolutionDenominator, perInch);
    mCompressor.optimize_coding = TRUE;
    mCompressor.smoothing_factor = 0;
    mCompressor.dct_method = JDCT_FLOAT;
}

ql_jpeg_compressor::~ql_jpeg_compressor() {
    if (mCreated) jpeg_destroy_compress(&mCompressor);
}

bool ql_jpeg_compressor::guarded(bool ok) {
    if (!ok) mState = State::kFailed;
    return ok;
}

bool ql_jpeg_compressor::putBytes(const unsigned char* bytes, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i)
        if (putUInt8(bytes[i]) != 0) return false;
    return true;
}

int ql_jpeg_compressor::start_compression() {
    if (mState != State::kReady) return 1;
    jpeg_compress_struct* compressor = &mCompressor;
    if (!guarded(runGuarded(mErrors, [compressor] { jpeg_start_compress(compressor, TRUE); })))
        return 1;
    mState = State::kStarted;
    return 0;
}

int ql_jpeg_compressor::ql_compress_line(const unsigned char* row) {
    if (mState != State::kStarted || !row || mRowsWritten >= mHeight) return 1;
    JSAMPROW line = const_cast<JSAMPROW>(row);
    JDIMENSION written = 0;
    jpeg_compress_struct* compressor = &mCompressor;
    if (!guarded(runGuarded(mErrors, [compressor, &line, &written] {
            written = jpeg_write_scanlines(compressor, &line, 1);
        })))
        return 1;
    if (written != 1) return 1;
    ++mRowsWritten;
    return 0;
}

int ql_jpeg_compressor::end_compression() {
    if (mState != State::kStarted) return 1;
    // libjpeg treats missing rows as a fatal error inside finish: abandon
    // the stream instead.
    if (mRowsWritten != mHeight) {
        jpeg_abort_compress(&mCompressor);
        mState = State::kFailed;
        return 1;
    }
    jpeg_compress_struct* compressor = &mCompressor;
    if (!guarded(runGuarded(mErrors, [compressor] { jpeg_finish_compress(compressor); }))) return 1;
    mState = State::kFinished;
    return 0;
}

}  // namespace QuillonCore
