// Colour synthesis of the reader frame: a colour-managed reader reads whole
// stored pixels (layout -4) into its native row and turns them through the
// colour link into synthesized separations, optionally sharing the result
// with the other readers of the same image.

#include <algorithm>
#include <climits>
#include <cstring>
#include <new>

#include "platform/velsys/Arithmetic.h"
#include "platform/velsys/Debug.h"
#include "raster/input/pixreatyp.h"

namespace QuillonCore {

pixcolsyncache pixreatyp::sPixcolorCache;

namespace {

std::shared_ptr<std::vector<unsigned char>> rowOf(std::int64_t bytes) {
    return std::make_shared<std::vector<unsigned char>>(static_cast<std::size_t>(bytes));
}

}  // namespace

void pixreatyp::releaseSynthesis() {
    if (mSharesSynthesisRow) sPixcolorCache.leave();
    mSharesSynthesisRow = false;
    mNativeRow.reset();
    mSynthesizedRow.reset();
}

bool pixreatyp::synthesisAcceptable() const {
    const int channels = ColorspaceInfo::ModelChannels(mInterpretation);
    return channels > 0 && mSamplesPerPixel >= channels && mColourLink && mOutputSelector == -4 &&
           mSelectedOutputSeparation < mOutputSeparationCount && mWidth > 0;
}

void pixreatyp::pixcolsynini(VelGen::colsynlnk* link, bool colourManaged, int separation) {
    releaseSynthesis();
    mColourLink = link;
    mColourManaged = colourManaged;
    mSelectedOutputSeparation = separation < 0 ? -1 : separation;
    switch (mInterpretation) {
        case 0:
        case 1:
            mOutputSeparationCount = mSamplesPerPixel + 3;
            break;
        case 2:
            mOutputSeparationCount = mSamplesPerPixel + 1;
            break;
        case 5:
            mOutputSeparationCount = mSamplesPerPixel;
            break;
        default:
            VelSys::debug("Illegal interpretation in pixreatyp::pixcolsynini\n");
    }
    if (!mColourManaged) return;
    if (!synthesisAcceptable()) {
        mColourManaged = false;
        pixerror(VelGen::kSeverityError, VelGen::kVolatilityTransient, 102);
        return;
    }
    // Rows are handed to converters with an int length.
    const std::int64_t cap = std::min<std::int64_t>(VelSys::kMaxAllocation, INT_MAX);
    const auto nativeBytes = VelSys::checkedMul(mSamplesPerPixel, mWidth);
    const auto synthesizedBytes = VelSys::checkedMul(mOutputSeparationCount, mWidth);
    try {
        if (!nativeBytes || !synthesizedBytes || *nativeBytes > cap || *synthesizedBytes > cap)
            throw std::bad_alloc();
        mNativeRow = rowOf(*nativeBytes);
        mSynthesizedRow = rowOf(*synthesizedBytes);
    } catch (const std::bad_alloc&) {
        releaseSynthesis();
        mColourManaged = false;
        pixerror(VelGen::kSeverityError, VelGen::kVolatilityTransient, 101);
        return;
    }
    pixcolsyncache::Shape shape{{}, mImageOffset, mWidth, mOutputSeparationCount, mColourLink};
    VelSys::filrefnew(&shape.file, mFile);
    mSharesSynthesisRow = sPixcolorCache.join(shape);
}

void pixreatyp::synthesizePixels(const unsigned char* native, unsigned char* synthesized) {
    const int spp = mSamplesPerPixel;
    const int count = mOutputSeparationCount;
    const int extras = count - 4;  // pass through unchanged
    for (int i = 0; i < mWidth; ++i, native += spp, synthesized += count) {
        if (!mColourLink->process(native, synthesized, 1)) std::memset(synthesized, 0, 4);
        if (extras > 0) std::memcpy(synthesized + 4, native + spp - extras, extras);
    }
}

void pixreatyp::extractSeparation(const unsigned char* synthesized, unsigned char* buffer) const {
    if (!buffer) return;
    const int count = mOutputSeparationCount;
    synthesized += mSelectedOutputSeparation;
    for (int i = 0; i < mWidth; ++i, synthesized += count)
        buffer[i] = static_cast<unsigned char>(255 - *synthesized);
}

int pixreatyp::synthesizeRow(unsigned char* buffer) {
    const bool selected = mSelectedOutputSeparation >= 0;
    if (!selected && !buffer) return ConvertRow(nullptr, 0);
    const bool shared = selected && mSharesSynthesisRow;
    if (shared && sPixcolorCache.mRowNumber == mRowsDelivered) {
        // A partner converted this row already; still consume it so that
        // this reader's input stays in step.
        if (!ConvertRow(nullptr, 0)) return 0;
        extractSeparation(sPixcolorCache.mRow.data(), buffer);
        return 1;
    }
    unsigned char* synthesized = !selected ? buffer
                                 : shared  ? sPixcolorCache.mRow.data()
                                           : mSynthesizedRow->data();
    // The shared row names no row while it is being rewritten, so a failure
    // (or a jump) on the way leaves nothing for a partner to take.
    if (shared) sPixcolorCache.mRowNumber = -1;
    if (!ConvertRow(mNativeRow->data(), static_cast<int>(mNativeRow->size()))) return 0;
    synthesizePixels(mNativeRow->data(), synthesized);
    if (shared) sPixcolorCache.mRowNumber = mRowsDelivered;
    if (selected) extractSeparation(synthesized, buffer);
    return 1;
}

}  // namespace QuillonCore
