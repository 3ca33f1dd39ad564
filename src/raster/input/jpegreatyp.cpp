#include "raster/input/jpegreatyp.h"

#include <algorithm>
#include <climits>

#include "platform/velsys/errtyp.h"
#include "raster/input/RunListWriter.h"
#include "raster/input/XrgbRow.h"
#include "raster/input/jpegintyp.h"

namespace QuillonCore {

namespace {

constexpr int kCannotRead = 100;
constexpr int kOutOfMemory = 101;
constexpr int kFormatError = 102;
constexpr int kUnsupportedColourModel = 7;

// Reads at the reader's own position, so that readers sharing one file
// handle do not read each other's bytes.
int readFromFile(void* cursor, unsigned char* buffer, int count) {
    auto* at = static_cast<JpegFileCursor*>(cursor);
    if (VelSys::filpos(at->file) != at->next) VelSys::filpos(at->file, at->next);
    const int read = VelSys::filrea(at->file, buffer, count);
    at->next += read;
    return read;
}

long seekFile(void* cursor, long position) {
    auto* at = static_cast<JpegFileCursor*>(cursor);
    if (position >= 0) at->next = static_cast<int>(std::min<long>(position, INT_MAX));
    return at->next;
}

void attachFile(jpegintyp& context, JpegFileCursor& cursor, VelSys::fil* file) {
    cursor = {file, VelSys::filpos(file)};
    context.source().attachBlocks(context.decoder(), readFromFile, seekFile, &cursor);
}

void invert(unsigned char* bytes, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) bytes[i] = static_cast<unsigned char>(255 - bytes[i]);
}

}  // namespace

jpegreatyp::jpegreatyp(VelSys::fil* file)
    : pixreatyp(VelSys::PixelDefinitions::kPixelFormatJpeg, file) {}

jpegreatyp::~jpegreatyp() = default;

bool jpegreatyp::isProgressive() const {
    return mContext && mContext->isProgressive();
}

double jpegreatyp::photoshopResolution() const {
    if (!mContext || !mContext->photoshopResolution().found) return 0.0;
    const PhotoshopResolution& found = mContext->photoshopResolution();
    return found.fractionalHorizontal != 0.0 ? found.fractionalHorizontal : found.horizontal;
}

int jpegreatyp::pixreaini(int* resolutionNumerator, int* resolutionDenominator, int* rows,
                          int* columns, int outputSelector, unsigned int) {
    mContext.reset();
    mConverter = Converter::kNone;
    mRowsLeft = 0;
    mRowsDelivered = 0;
    mFailed = false;
    if (mFile) mContext = jpegintyp::create(jpegintyp::kCurrentMode);
    if (!mContext) {
        jpegerror(VelGen::kSeverityError, VelGen::kVolatilityTransient,
                  mFile ? kOutOfMemory : kFormatError);
        return 1;
    }
    attachFile(*mContext, mCursor, mFile);
    if (!mContext->readHeader()) {
        mContext.reset();
        jpegerror(VelGen::kSeverityError, VelGen::kVolatilityTransient, kFormatError);
        return 1;
    }
    const JpegResolution resolution = mContext->resolution(true);
    if (resolutionNumerator) *resolutionNumerator = resolution.numerator;
    if (resolutionDenominator) *resolutionDenominator = resolution.denominator;
    if (rows) *rows = mContext->height();
    if (columns) *columns = mContext->width();
    mWidth = mContext->width();
    mSamplesPerPixel = mContext->components();
    mInterpretation = mContext->interpretation();
    mOutputSelector = outputSelector;
    if (mInterpretation == kUnsupportedColourModel) {
        jpegerror(VelGen::kSeverityError, VelGen::kVolatilityTransient, kCannotRead);
        return 1;
    }
    mConverter = chooseConverter(outputSelector);
    if (mConverter == Converter::kNone) return 1;
    mChannel = std::max(outputSelector, 0);
    mRowsLeft = mContext->height();
    return 0;
}

jpegreatyp::Converter jpegreatyp::chooseConverter(int selector) const {
    if (selector < -4) return Converter::kNone;
    switch (mInterpretation) {
        case 1:
            if (selector == -1) return Converter::kGrayPreview;
            if (selector == -2) return Converter::kGrayRuns;
            return Converter::kScanline;
        case 2:
            if (selector == -1) return Converter::kRgbPreview;
            if (selector == -2) return Converter::kRgbRuns;
            if (selector < 0) return Converter::kScanline;
            return selector <= 2 ? Converter::kInvertedChannel : Converter::kNone;
        case 5:
            if (selector == -1) return Converter::kCmykPreview;
            if (selector == -2) return Converter::kCmykRuns;
            if (selector < 0) return Converter::kInvertedScanline;
            return selector <= 3 ? Converter::kStoredChannel : Converter::kNone;
        default:
            return Converter::kNone;
    }
}

void jpegreatyp::pixreaend() {
    if (mContext) {
        mContext->finish();
        // Leave the file just after the bytes libjpeg consumed.
        const auto unread = static_cast<int>(mContext->source().unconsumed());
        if (mFile) VelSys::filpos(mFile, mCursor.next - unread);
        mContext.reset();
    }
    mConverter = Converter::kNone;
    pixreatyp::pixreaend();
}

bool jpegreatyp::decode(unsigned char* row) {
    if (mContext && mContext->readScanline(row)) return true;
    jpegerror(VelGen::kSeverityError, VelGen::kVolatilityTransient, kFormatError);
    return false;
}

unsigned char* jpegreatyp::decodeScratch() {
    unsigned char* scanline = mContext ? mContext->scratch().data() : nullptr;
    return scanline && decode(scanline) ? scanline : nullptr;
}

int jpegreatyp::ConvertRow(unsigned char* dst, int length) {
    // A skipped row is still decoded: libjpeg reads scanlines in order.
    if (!dst) return decodeScratch() ? 1 : 0;
    switch (mConverter) {
        case Converter::kScanline:
            return decode(dst) ? 1 : 0;
        case Converter::kInvertedScanline:
        case Converter::kCmykPreview:
            // The 4-byte CMYK scanline fits the caller's row in both layouts.
            if (!decode(dst)) return 0;
            invert(dst, 4 * static_cast<std::size_t>(mWidth));
            if (mConverter == Converter::kCmykPreview) xrgbFromInk(dst, mWidth, dst);
            return 1;
        default:
            break;
    }
    const unsigned char* scanline = decodeScratch();
    if (!scanline) return 0;
    switch (mConverter) {
        case Converter::kGrayPreview:
            xrgbFromLuminance(scanline, mWidth, dst);
            break;
        case Converter::kRgbPreview:
            xrgbFromRgb(scanline, mWidth, dst);
            break;
        case Converter::kInvertedChannel:
            extractChannel(scanline, 3, true, dst);
            break;
        case Converter::kStoredChannel:
            extractChannel(scanline, 4, false, dst);
            break;
        default:
            toRuns(scanline, dst, length);
            break;
    }
    return 1;
}

void jpegreatyp::extractChannel(const unsigned char* scanline, int components, bool inverted,
                                unsigned char* dst) const {
    const unsigned char flip = inverted ? 255 : 0;
    for (int i = 0; i < mWidth; ++i)
        dst[i] = static_cast<unsigned char>(flip ^ scanline[components * i + mChannel]);
}

void jpegreatyp::toLuminance(const unsigned char* scanline) {
    const std::size_t width = static_cast<std::size_t>(mWidth);
    mGrayRow.resize(width);
    for (std::size_t i = 0; i < width; ++i) {
        if (mConverter == Converter::kGrayRuns) {
            mGrayRow[i] = scanline[i];
        } else if (mConverter == Converter::kRgbRuns) {
            const unsigned char* p = scanline + 3 * i;
            mGrayRow[i] = static_cast<unsigned char>((30 * p[0] + 59 * p[1] + 11 * p[2]) / 100);
        } else {
            // Stored CMYK values are 255 - ink.
            const unsigned char* p = scanline + 4 * i;
            const int ink =
                (30 * (255 - p[0]) + 59 * (255 - p[1]) + 11 * (255 - p[2]) + 100 * (255 - p[3])) /
                100;
            mGrayRow[i] = static_cast<unsigned char>(255 - std::min(255, ink));
        }
    }
}

void jpegreatyp::toRuns(const unsigned char* scanline, unsigned char* dst, int length) {
    toLuminance(scanline);
    graytobw(mGrayRow.data(), mWidth);
    // Runs mark the dark pixels. An overflow is said but is not a file
    // error: the row's list stays cut short.
    if (!encodeRunList(dst, length, mGrayRow.data(), mWidth, 1))
        VelGen::message(VelGen::kSeverityError, VelGen::kVolatilityTransient, kOutOfMemory);
}

void GetJPEGResolutionAsSeenByOlderQuillon(const VelSys::filref& file, int& numerator,
                                           int& denominator, bool useFractionalResolution) {
    VelSys::fil handle;
    VelSys::errtyp error;
    if (VelSys::filope(&handle, &error, file) != 0) return;
    std::unique_ptr<jpegintyp> context = jpegintyp::create(jpegintyp::kOlderMode);
    if (context) {
        JpegFileCursor cursor;
        attachFile(*context, cursor, &handle);
        if (context->readHeader()) {
            const JpegResolution resolution = context->resolution(useFractionalResolution);
            numerator = resolution.numerator;
            denominator = resolution.denominator;
        }
    }
    context.reset();
    handle.Close();
}

}  // namespace QuillonCore
