#include "raster/input/tifreatyp.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <new>

#include "platform/veldb/DocumentSettings.h"
#include "platform/velsys/Arithmetic.h"
#include "raster/input/TiffStructureParser.h"
#include "services/Localization.h"

namespace QuillonCore {

namespace {

constexpr int kCannotRead = 100;
constexpr int kOutOfMemory = 101;
constexpr int kFormatError = 102;
constexpr const char* kUnsupportedColourspace = "CANNOT READ THIS FILE. UNSUPPORTED COLORSPACE";
// Four colour channels and the 64 extra channels the reader can name.
constexpr std::uint32_t kMaxSamplesPerPixel = 68;
// No row, stored or delivered, may be larger than this (4 million pixels of
// the RGB preview, 14 m at 7200 pixels per inch).
constexpr std::int64_t kMaxRowBytes = std::int64_t{16} << 20;

const auto kError = VelGen::kSeverityError;
const auto kTransient = VelGen::kVolatilityTransient;

}  // namespace

tifreatyp::tifreatyp(VelSys::fil* file)
    : pixreatyp(VelSys::PixelDefinitions::kPixelFormatTiff, file) {}

tifreatyp::~tifreatyp() {
    VelDB::objrem(mClippingPath);
}

void tifreatyp::release() {
    mSource.reset();
    mShaper.reset();
    mConverter = nullptr;
    mDirectory.stripOffsets = {};
    mDirectory.stripByteCounts = {};
    mDirectory.palette = {};
}

void tifreatyp::pixreaend() {
    release();
    pixreatyp::pixreaend();
}

void tifreatyp::resetMetadata() {
    mDirectory = TiffDirectory{};
    mColourSpace.reset();
    VelDB::objrem(mClippingPath);
    mClippingPath = nullptr;
    mChannelNames = {};
    mDisplayInfos = {};
    mIccProfile.reset();
}

int tifreatyp::pixreaini(int* resolutionNumerator, int* resolutionDenominator, int* rows,
                         int* columns, int outputSelector, unsigned int imageOffset) {
    release();
    mFailed = false;
    mRowsLeft = 0;
    mRowsDelivered = 0;
    mOutputSelector = outputSelector;
    mImageOffset = imageOffset;
    if (!parse(imageOffset) || !validateSize()) return 1;
    int numerator = 300, denominator = 1;
    const bool missing = resolution(&numerator, &denominator);
    if (resolutionNumerator && resolutionDenominator) {
        *resolutionNumerator = numerator;
        *resolutionDenominator = denominator;
    }
    if (rows) *rows = static_cast<int>(mDirectory.height);
    if (columns) *columns = mWidth;
    if (!layOutStrips()) return 1;
    const Refusal refusal = chooseConverter();
    if (refusal != Refusal::kNone) {
        refuse(refusal);
        return 1;
    }
    if (mFailed) return 1;
    mRowsLeft = static_cast<int>(mDirectory.height);
    return missing ? 2 : 0;
}

bool tifreatyp::parse(unsigned int imageOffset) {
    resetMetadata();
    const auto failure = TiffStructureParser(mFile, imageOffset).parse(mDirectory);
    if (failure) {
        if (failure->id)
            pixerror(kError, kTransient, failure->id);
        else
            pixerror(kError, kTransient, failure->textKey);
        return false;
    }
    takeMetadata();
    return true;
}

void tifreatyp::takeMetadata() {
    mInterpretation = mDirectory.photometric;
    if (!mDirectory.iccProfile.empty())
        mIccProfile = std::make_shared<std::vector<unsigned char>>(mDirectory.iccProfile);
    takeInkNames();
    takePhotoshopResources();
}

// One separation per NUL-terminated ink name; its CMYK are the next four
// CMYKEquivalent values when there are four more, else the previous ink's.
void tifreatyp::takeInkNames() {
    if (!mDirectory.hasInkNames || mDirectory.inkNames.empty()) return;
    mColourSpace = std::make_unique<ColorspaceInfo>(mInterpretation);
    const std::string& names = mDirectory.inkNames;
    const auto& cmyk = mDirectory.cmykEquivalent;
    SeparationInfo separation;
    std::size_t ink = 0;
    for (std::size_t at = 0; at < names.size(); ++ink) {
        std::size_t end = names.find('\0', at);
        if (end == std::string::npos) end = names.size();
        separation.setName(names.substr(at, end - at));
        if (cmyk.size() >= 4 * (ink + 1)) {
            separation.mC = static_cast<unsigned char>(cmyk[4 * ink]);
            separation.mM = static_cast<unsigned char>(cmyk[4 * ink + 1]);
            separation.mY = static_cast<unsigned char>(cmyk[4 * ink + 2]);
            separation.mK = static_cast<unsigned char>(cmyk[4 * ink + 3]);
        }
        mColourSpace->addSeparation(separation);
        at = end + 1;
    }
}

// Path points are fractions of the image (8.24 fixed point); the scales
// take them to document units through the image's size and resolution.
void tifreatyp::takePhotoshopResources() {
    if (mDirectory.photoshopResources.empty()) return;
    double numerator = mDirectory.resolutionNumerator,
           denominator = mDirectory.resolutionDenominator;
    if (numerator == 0 || denominator == 0) numerator = 300, denominator = 1;
    const double unit = VelDB::getppi() * std::ldexp(1.0, -24) * denominator / numerator /
                        (mDirectory.resolutionUnitCm ? 2.54 : 1.0);
    const PhotoshopResources::PathScale scale{unit * mDirectory.height, unit * mDirectory.width};
    PhotoshopResources(mDirectory.photoshopResources)
        .read(mChannelNames, mDisplayInfos, mClippingPath, scale);
}

bool tifreatyp::validateSize() {
    const TiffDirectory& d = mDirectory;
    const std::int64_t width = d.width, spp = d.samplesPerPixel;
    const bool fits = width >= 1 && width <= INT_MAX / 4 && d.height >= 1 && d.height <= INT_MAX &&
                      spp >= 1 && spp <= kMaxSamplesPerPixel && d.bitsPerSample >= 1 &&
                      d.bitsPerSample <= 16 &&
                      (width * spp * d.bitsPerSample + 7) / 8 <= kMaxRowBytes &&
                      width * std::max<std::int64_t>(spp, 4) <= kMaxRowBytes;
    if (!fits) {
        pixerror(kError, kTransient, kFormatError);
        return false;
    }
    mWidth = static_cast<int>(d.width);
    mSamplesPerPixel = static_cast<int>(d.samplesPerPixel);
    return true;
}

// The resolution in pixels per inch, as a rational that fits 31 bits;
// true when the file has none (300/1).
bool tifreatyp::resolution(int* numerator, int* denominator) const {
    std::uint64_t n = mDirectory.resolutionNumerator, d = mDirectory.resolutionDenominator;
    if (n != 0 && mDirectory.resolutionUnitCm) {
        n *= 254;
        d *= 100;
    }
    while (n > INT_MAX || d > INT_MAX) {
        n >>= 1;
        d >>= 1;
    }
    if (n == 0 || d == 0) return true;
    *numerator = static_cast<int>(n);
    *denominator = static_cast<int>(d);
    return false;
}

bool tifreatyp::layOutStrips() {
    const std::int64_t height = mDirectory.height;
    mRowsPerStrip = mDirectory.rowsPerStrip;
    if (mRowsPerStrip == 0 || mRowsPerStrip > height) mRowsPerStrip = height;
    const std::int64_t strips = (height + mRowsPerStrip - 1) / mRowsPerStrip;
    if (static_cast<std::int64_t>(mDirectory.stripOffsets.size()) < strips) {
        pixerror(kError, kTransient, kFormatError);
        return false;
    }
    return true;
}

tifreatyp::Refusal tifreatyp::modelFor(TiffRowShaper::Model& model) const {
    const TiffDirectory& d = mDirectory;
    const std::uint32_t bits = d.bitsPerSample, spp = d.samplesPerPixel;
    if (d.planarConfiguration == 2 && spp > 1) return Refusal::kUnsupportedColourspace;
    const bool byteSamples = bits == 8 || bits == 16;
    switch (mInterpretation) {
        case 0:
        case 1:
            model = bits == 1 ? TiffRowShaper::Model::kBilevel : TiffRowShaper::Model::kGray;
            if (bits == 1 ? spp == 1 : byteSamples) return Refusal::kNone;
            break;
        case 2:
            model = TiffRowShaper::Model::kRgb;
            if (spp < 3) return Refusal::kUnsupportedColourspace;
            if (byteSamples) return Refusal::kNone;
            break;
        case 3:
            model = TiffRowShaper::Model::kPalette;
            if (!d.palette.empty() && (bits == 1 || bits == 2 || bits == 4 || bits == 8))
                return Refusal::kNone;
            break;
        case 5:
            model = TiffRowShaper::Model::kCmyk;
            if (spp < 4) return Refusal::kUnsupportedColourspace;
            if (byteSamples || bits == 1) return Refusal::kNone;
            break;
        default:
            break;
    }
    return d.compression == 1 ? Refusal::kUnsupportedColourspace : Refusal::kCannotRead;
}

tifreatyp::Refusal tifreatyp::codecFor(TiffRowShaper::Model model,
                                       TiffRowSource::Codec& codec) const {
    const TiffDirectory& d = mDirectory;
    switch (d.compression) {
        case 1:
            codec = TiffRowSource::Codec::kNone;
            return Refusal::kNone;
        case 32773:
            codec = TiffRowSource::Codec::kPackBits;
            return Refusal::kNone;
        case 5:
            codec = TiffRowSource::Codec::kLzw;
            if (d.predictor == 1 ||
                (d.predictor == 2 && (d.bitsPerSample == 8 || d.bitsPerSample == 16)))
                return Refusal::kNone;
            return Refusal::kCannotRead;
        case 2:
        case 3:
        case 4:
            codec = TiffRowSource::Codec::kCcitt;
            if (model != TiffRowShaper::Model::kBilevel) return Refusal::kCannotRead;
            // Two-dimensional Group 3 coding is not decoded.
            if (d.compression == 3 && (d.t4Options & 1)) return Refusal::kCannotRead;
            return Refusal::kNone;
        default:
            return Refusal::kCannotRead;
    }
}

tifreatyp::Refusal tifreatyp::chooseConverter() {
    if (mOutputSelector >= mSamplesPerPixel) return Refusal::kUnsupportedColourspace;
    TiffRowShaper::Model model{};
    TiffRowSource::Codec codec{};
    Refusal refusal = modelFor(model);
    if (refusal == Refusal::kNone) refusal = codecFor(model, codec);
    if (refusal != Refusal::kNone) return refusal;
    mConverter = TiffConverter::find(model, static_cast<int>(mDirectory.bitsPerSample),
                                     TiffConverter::layoutOf(mOutputSelector));
    if (!mConverter)
        return mDirectory.compression == 1 ? Refusal::kUnsupportedColourspace
                                           : Refusal::kCannotRead;
    if (codec == TiffRowSource::Codec::kLzw && oldStyleLzw()) return Refusal::kCannotRead;
    try {
        makeRowSteps(model, codec);
    } catch (const std::bad_alloc&) {
        release();
        return Refusal::kOutOfMemory;
    }
    return Refusal::kNone;
}

// Old-style LZW (bits taken least significant first) starts with a zero
// byte followed by one with bit 0 set; it is not decoded.
bool tifreatyp::oldStyleLzw() {
    unsigned char head[2] = {0, 0};
    const std::int64_t at = mImageOffset + static_cast<std::int64_t>(mDirectory.stripOffsets[0]);
    if (at + 2 > VelSys::filgeteof(mFile)) return false;
    VelSys::filpos(mFile, static_cast<int>(at));
    return VelSys::filrea(mFile, head, 2) == 2 && head[0] == 0 && (head[1] & 1);
}

void tifreatyp::makeRowSteps(TiffRowShaper::Model model, TiffRowSource::Codec codec) {
    const TiffDirectory& d = mDirectory;
    TiffRowSource::Format format;
    format.codec = codec;
    format.compression = static_cast<int>(d.compression);
    format.width = mWidth;
    format.height = static_cast<int>(d.height);
    format.bitsPerSample = static_cast<int>(d.bitsPerSample);
    format.samplesPerPixel = mSamplesPerPixel;
    format.rowBytes =
        (static_cast<std::int64_t>(mWidth) * mSamplesPerPixel * format.bitsPerSample + 7) / 8;
    format.bigEndian = d.bigEndian;
    format.horizontalPredictor = codec == TiffRowSource::Codec::kLzw && d.predictor == 2;
    format.reverseBits = d.fillOrder == 2 && format.bitsPerSample == 1;
    format.byteAlignedRows = (d.t4Options & 4) != 0;
    TiffRowSource::Strips strips;
    strips.base = mImageOffset;
    strips.rowsPerStrip = mRowsPerStrip;
    strips.offsets = d.stripOffsets;
    strips.byteCounts = d.stripByteCounts;
    mSource = std::make_unique<TiffRowSource>(*this, mFile, format, std::move(strips));

    TiffRowShaper::Setup setup;
    setup.model = model;
    setup.width = mWidth;
    setup.samplesPerPixel = mSamplesPerPixel;
    setup.bitsPerSample = format.bitsPerSample;
    setup.bigEndian = d.bigEndian;
    setup.whiteIsZero = mInterpretation == 0;
    setup.channel = mOutputSelector >= 0 ? mOutputSelector : 0;
    setup.palette = d.palette;
    mShaper = std::make_unique<TiffRowShaper>(std::move(setup));
}

void tifreatyp::refuse(Refusal refusal) {
    switch (refusal) {
        case Refusal::kNone:
            break;
        case Refusal::kOutOfMemory:
            pixerror(kError, kTransient, kOutOfMemory);
            break;
        case Refusal::kUnsupportedColourspace:
            pixerror(kError, kTransient, std::string(kUnsupportedColourspace));
            break;
        case Refusal::kCannotRead:
            pixerror(kError, kTransient, kCannotRead);
            break;
    }
}

bool tifreatyp::HasRowConverter() const {
    return mConverter && mSource && mRowsLeft > 0 && !mFailed;
}

int tifreatyp::ConvertRow(unsigned char* destination, int length) {
    if (!destination) return mSource->skipRow() ? 1 : 0;
    if (mShaper->keepsStoredRow(mConverter->shape))
        return mSource->nextRowInto(destination) ? 1 : 0;
    const unsigned char* stored = mSource->nextRow();
    if (!stored) return 0;
    const unsigned char* samples = mShaper->normalize(stored);
    if (!((*mShaper).*(mConverter->shape))(samples, destination, length))
        pixerror(kError, kTransient, kOutOfMemory);
    return 1;
}

const char* tifreatyp::pixchannelname(int index) {
    if (index < 0 || index >= PhotoshopResources::kChannelSlots || mChannelNames[index].empty())
        return nullptr;
    return mChannelNames[index].c_str();
}

DisplayInfo* tifreatyp::pixchannelDisplayInfo(int index) {
    if (index < 0 || index >= PhotoshopResources::kChannelSlots) return nullptr;
    return &mDisplayInfos[index];
}

// Extra channels are named from their slot, else "Channel " and the index.
int tifreatyp::getChannelName(int index, std::string& name) {
    const int standard = pixreatyp::getChannelName(index, name);
    if (index >= standard) {
        const int slot = index - standard;
        if (slot < PhotoshopResources::kChannelSlots && !mChannelNames[slot].empty())
            name = mChannelNames[slot];
        else
            name = "Channel " + std::to_string(index);
    }
    return standard;
}

}  // namespace QuillonCore
