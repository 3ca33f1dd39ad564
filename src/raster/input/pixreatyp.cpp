#include "raster/input/pixreatyp.h"

#include "platform/velsys/Debug.h"
#include "platform/velsys/RecoveryScope.h"
#include "raster/input/PixelCacheBlock.h"
#include "services/Localization.h"

namespace QuillonCore {

pixreatyp::pixreatyp(VelSys::PixelDefinitions::pixfmttype format, VelSys::fil* file)
    : mFormat(format), mFile(file) {}

pixreatyp::pixreatyp(const pixreatyp& other) : pixreatyp(other.mFormat, other.mFile) {
    *this = other;
}

pixreatyp& pixreatyp::operator=(const pixreatyp& other) {
    if (this == &other) return *this;
    releaseSynthesis();
    mFormat = other.mFormat;
    mFile = other.mFile;
    mRowsLeft = other.mRowsLeft;
    mWidth = other.mWidth;
    mSamplesPerPixel = other.mSamplesPerPixel;
    mOutputSelector = other.mOutputSelector;
    mInterpretation = other.mInterpretation;
    mColourManaged = other.mColourManaged;
    mSharesSynthesisRow = other.mSharesSynthesisRow;
    mColourLink = other.mColourLink;
    mSelectedOutputSeparation = other.mSelectedOutputSeparation;
    mOutputSeparationCount = other.mOutputSeparationCount;
    mRowsDelivered = other.mRowsDelivered;
    mFailed = other.mFailed;
    mImageOffset = other.mImageOffset;
    mIccProfile = other.mIccProfile;
    mNativeRow = other.mNativeRow;
    mSynthesizedRow = other.mSynthesizedRow;
    mCacheBlock = other.mCacheBlock;
    mCacheReadPosition = other.mCacheReadPosition;
    if (mSharesSynthesisRow) sPixcolorCache.addSharer();
    return *this;
}

pixreatyp::~pixreatyp() {
    releaseSynthesis();
}

int pixreatyp::pixreaini(int*, int*, int*, int*, int, unsigned int) {
    return 0;
}

void pixreatyp::pixreaend() {
    mFormat = VelSys::PixelDefinitions::kPixelFormatNone;
    mRowsLeft = 0;
    releaseSynthesis();
    mCacheBlock.reset();
    mCacheReadPosition = 0;
}

int pixreatyp::pixbitspersample() const {
    return 0;
}

unsigned int pixreatyp::pixcompression() const {
    return 1;
}

VelDB::Object* pixreatyp::GetClippingPath() {
    return nullptr;
}

void pixreatyp::pixImageID(std::string& id) const {
    id.clear();
}

const char* pixreatyp::pixchannelname(int) {
    return nullptr;
}

DisplayInfo* pixreatyp::pixchannelDisplayInfo(int) {
    return nullptr;
}

const ColorspaceInfo* pixreatyp::getColorspaceInfo() {
    return nullptr;
}

const std::vector<unsigned char>& pixreatyp::pixiccprofile() const {
    static const std::vector<unsigned char> kNone;
    return mIccProfile ? *mIccProfile : kNone;
}

int pixreatyp::getChannelName(int index, std::string& name) {
    name.clear();
    switch (mInterpretation) {
        case 0:
        case 1:
            if (index <= 0) name = "Gray";
            return 1;
        case 2: {
            static const char* const kNames[] = {"Red", "Green", "Blue"};
            if (index >= 0 && index < 3) name = kNames[index];
            return 3;
        }
        case 5: {
            static const char* const kNames[] = {"Cyan", "Magenta", "Yellow", "Black"};
            if (index >= 0 && index < 4) name = kNames[index];
            return 4;
        }
        default:
            return 0;
    }
}

void pixreatyp::markFailed() {
    mFailed = true;
    mRowsLeft = 0;
}

void pixreatyp::pixerror(VelGen::MessageSeverity severity, VelGen::MessageVolatility volatility,
                         int id) {
    markFailed();
    VelGen::message(severity, volatility, id);
    VelSys::filjumprecovery(mFile, -2);
}

void pixreatyp::pixerror(VelGen::MessageSeverity severity, VelGen::MessageVolatility volatility,
                         const std::string& utf8Text) {
    markFailed();
    const std::string text = GetLocalizedUTF8String(utf8Text, "");
    VelGen::ShowInfoMessage(severity, volatility, VelSys::UTF8ToUni16Char(text.c_str()));
    VelSys::filjumprecovery(mFile, -2);
}

int pixreatyp::ConvertRow(unsigned char*, int) {
    return 0;
}

std::int64_t pixreatyp::LayoutRowBytes() const {
    const std::int64_t width = mWidth;
    switch (mOutputSelector) {
        case -1:
            return 4 * width;
        case -2:
            return -1;
        case -3:
            if (mInterpretation == 2) return 3 * width;
            if (mInterpretation == 5) return 4 * width;
            return width;
        case -4:
            return static_cast<std::int64_t>(mSamplesPerPixel) * width;
        default:
            return width;
    }
}

std::int64_t pixreatyp::deliveredRowBytes() const {
    if (!mColourManaged) return LayoutRowBytes();
    const std::int64_t width = mWidth;
    return mSelectedOutputSeparation < 0 ? width * mOutputSeparationCount : width;
}

int pixreatyp::pixrealin(unsigned char* buffer, int length) {
    if (!mFile || mRowsLeft <= 0 || mFailed) return 0;
    if (!deliverRow(buffer, length)) {
        // Whatever stopped the row, the input is no longer where the next
        // row starts: the reader delivers nothing more.
        markFailed();
        return 0;
    }
    --mRowsLeft;
    ++mRowsDelivered;
    return 1;
}

int pixreatyp::deliverRow(unsigned char* buffer, int length) {
    if (mCacheBlock) return serveFromCache(buffer, length);
    if (!HasRowConverter()) return 0;
    if (buffer && length > 0 && length < deliveredRowBytes())
        VelSys::debug("pixrealin: buffer of %d bytes for a row of %lld\n", length,
                      static_cast<long long>(deliveredRowBytes()));
    if (mColourManaged) return synthesizeRow(buffer);
    return ConvertRow(buffer, length);
}

}  // namespace QuillonCore
