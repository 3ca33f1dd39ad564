#include "raster/input/jpegintyp.h"

#include <algorithm>
#include <cstring>

#include <jerror.h>

#include "platform/velsys/Arithmetic.h"

namespace QuillonCore {

namespace {

constexpr char kPhotoshopSignature[] = "Photoshop 3.0";  // followed by its NUL: 14 bytes
constexpr std::size_t kPhotoshopSignatureLength = sizeof(kPhotoshopSignature);

// Refuses progressive files with an unreasonable number of scans.
void limitScans(j_common_ptr codec) {
    auto* decoder = reinterpret_cast<j_decompress_ptr>(codec);
    if (!decoder->progressive_mode || decoder->input_scan_number <= jpegintyp::kMaxScans) return;
    codec->err->msg_code = JERR_BAD_SCAN_SCRIPT;
    codec->err->msg_parm.i[0] = decoder->input_scan_number;
    (*codec->err->error_exit)(codec);
}

}  // namespace

jpegintyp::jpegintyp(Mode mode) : mMode(mode) {}

std::unique_ptr<jpegintyp> jpegintyp::create(Mode mode) {
    std::unique_ptr<jpegintyp> context(new jpegintyp(mode));
    jpegintyp* self = context.get();
    self->mDecoder.err = self->mErrors.install();
    if (!runGuarded(self->mErrors, [self] { jpeg_create_decompress(&self->mDecoder); }))
        return nullptr;
    self->mCreated = true;
    self->mDecoder.mem->max_memory_to_use = VelSys::kMaxAllocation;
    self->mProgress.progress_monitor = limitScans;
    self->mDecoder.progress = &self->mProgress;
    return context;
}

jpegintyp::~jpegintyp() {
    if (mCreated) jpeg_destroy_decompress(&mDecoder);
}

bool jpegintyp::readHeader() {
    int header = 0;
    const bool read = runGuarded(mErrors, [this, &header] {
        jpeg_save_markers(&mDecoder, JPEG_APP0 + 13, 0xFFFF);
        header = jpeg_read_header(&mDecoder, TRUE);
    });
    if (!read || header != JPEG_HEADER_OK || !checkDecodable()) return false;
    mDensity = {mDecoder.density_unit, mDecoder.X_density, mDecoder.Y_density, 0.0};
    collectPhotoshopResources();
    mPhotoshop = PhotoshopResolution::find(mPhotoshopResources, mMode == kCurrentMode);
    if (mPhotoshop.found)
        mDensity = {1, mPhotoshop.horizontal, mPhotoshop.vertical, mPhotoshop.fractionalHorizontal};
    mScratch.assign(static_cast<std::size_t>(components()) * static_cast<std::size_t>(width()), 0);
    return true;
}

bool jpegintyp::checkDecodable() {
    // The reader decodes what a libjpeg 6b build decodes: 8-bit samples,
    // Huffman coding.
    const char* refusal = nullptr;
    if (mDecoder.arith_code) refusal = "arithmetic coding is not supported";
    if (mDecoder.data_precision != 8) refusal = "only 8-bit samples are supported";
    if (mDecoder.image_width == 0 || mDecoder.image_height == 0) refusal = "empty image";
    if (!refusal) return true;
    std::snprintf(mErrors.lastMessage, sizeof mErrors.lastMessage, "%s", refusal);
    return false;
}

void jpegintyp::collectPhotoshopResources() {
    mPhotoshopResources.clear();
    for (jpeg_saved_marker_ptr marker = mDecoder.marker_list; marker; marker = marker->next) {
        if (marker->marker != JPEG_APP0 + 13 || marker->data_length < kPhotoshopSignatureLength)
            continue;
        if (std::memcmp(marker->data, kPhotoshopSignature, kPhotoshopSignatureLength) != 0)
            continue;
        mPhotoshopResources.insert(mPhotoshopResources.end(),
                                   marker->data + kPhotoshopSignatureLength,
                                   marker->data + marker->data_length);
    }
}

int jpegintyp::interpretation() const {
    switch (mDecoder.out_color_space) {
        case JCS_GRAYSCALE:
            return 1;
        case JCS_RGB:
            return 2;
        case JCS_CMYK:
            return 5;
        default:
            return 7;
    }
}

int jpegintyp::components() const {
    switch (mDecoder.out_color_space) {
        case JCS_GRAYSCALE:
            return 1;
        case JCS_RGB:
            return 3;
        case JCS_CMYK:
            return 4;
        default:
            return std::max(1, mDecoder.num_components);
    }
}

JpegResolution jpegintyp::resolution(bool useFractional) const {
    return JpegResolution::fromDensity(mDensity, useFractional);
}

bool jpegintyp::startDecompress() {
    mNotStarted = false;
    return runGuarded(mErrors, [this] { jpeg_start_decompress(&mDecoder); });
}

bool jpegintyp::readScanline(JSAMPROW row) {
    if (mErrors.failed() || mScratch.empty()) return false;
    if (mNotStarted && !startDecompress()) return false;
    if (mDecoder.output_scanline >= mDecoder.output_height) return false;
    // The scratch row was sized from components() before decompression;
    // libjpeg's own count must agree before it writes into a caller's row.
    if (static_cast<int>(mDecoder.output_components) != components()) return false;
    JDIMENSION lines = 0;
    const bool read = runGuarded(
        mErrors, [this, &row, &lines] { lines = jpeg_read_scanlines(&mDecoder, &row, 1); });
    return read && lines == 1;
}

void jpegintyp::finish() {
    if (mNotStarted || mErrors.failed() || mDecoder.output_scanline < mDecoder.output_height)
        return;
    runGuarded(mErrors, [this] { jpeg_finish_decompress(&mDecoder); });
}

jpegintyp* jpegreabeg(long (*getByte)(void*), long (*seek)(void*, long), int* rows, int* columns,
                      int* resolutionNumerator, int* resolutionDenominator, int* interpretation,
                      int* components, void* context) {
    std::unique_ptr<jpegintyp> decoder = jpegintyp::create(jpegintyp::kCurrentMode);
    if (!decoder) return nullptr;
    decoder->source().attach(decoder->decoder(), getByte, seek, context);
    if (!decoder->readHeader()) return nullptr;
    if (rows && columns) {
        *rows = decoder->height();
        *columns = decoder->width();
    }
    if (resolutionNumerator && resolutionDenominator) {
        const JpegResolution resolution = decoder->resolution(true);
        *resolutionNumerator = resolution.numerator;
        *resolutionDenominator = resolution.denominator;
    }
    if (interpretation) *interpretation = decoder->interpretation();
    if (components) *components = decoder->components();
    return decoder.release();
}

void jpegrealin(jpegintyp* context, void* row, int length) {
    if (!context) return;
    if (row && length <= 0) {
        context->readScanline(static_cast<JSAMPROW>(row));
        return;
    }
    const std::span<JSAMPLE> scanline = context->scratch();
    if (!context->readScanline(scanline.data()) || !row) return;
    std::memcpy(row, scanline.data(), std::min(static_cast<std::size_t>(length), scanline.size()));
}

void jpegreaend(jpegintyp* context) {
    if (!context) return;
    context->finish();
    delete context;
}

bool jpegIsProgressive(const jpegintyp* context) {
    return context && context->isProgressive();
}

}  // namespace QuillonCore
