#include "raster/input/TiffRowSource.h"

#include <algorithm>
#include <cstring>

#include "platform/velsys/Arithmetic.h"
#include "raster/input/PackBitsRow.h"

namespace QuillonCore {

namespace {
constexpr int kCannotRead = 100;
constexpr int kOutOfMemory = 101;
constexpr int kFormatError = 102;
// LZW cannot expand one compressed byte into more than this many bytes
// (a 9-bit code naming a string of up to 4094 bytes), which bounds what a
// strip buffer needs to hold whatever the header claims.
constexpr std::int64_t kLzwMaxExpansion = 4096;
}  // namespace

TiffRowSource::TiffRowSource(pixreatyp& reader, VelSys::fil* file, const Format& format,
                             Strips strips)
    : mReader(reader),
      mFile(file),
      mFormat(format),
      mStrips(std::move(strips)),
      mInput(file, format.reverseBits),
      mRow(std::make_unique_for_overwrite<unsigned char[]>(
          static_cast<std::size_t>(format.rowBytes))) {
    if (format.codec == Codec::kLzw) {
        mLzw = std::make_unique<tiflzwinptyp>(reader, mInput);
        mLzw->lzwini();
    }
    if (format.codec == Codec::kCcitt)
        mCcitt = std::make_unique<CcittDecoder>(mInput, format.compression, format.width);
}

// A strip is read up to its byte count when there is one (so a decoder
// never runs on into the next strip's data), else to the end of the file.
std::int64_t TiffRowSource::stripBudget(std::size_t strip) const {
    const std::int64_t end = VelSys::filgeteof(mFile);
    const std::int64_t start = mStrips.base + mStrips.offsets[strip];
    const std::int64_t toEnd = std::max<std::int64_t>(end - start, 0);
    if (mStrips.byteCounts.size() < mStrips.offsets.size()) return toEnd;
    const std::int64_t count = mStrips.byteCounts[strip];
    return count > 0 ? std::min(count, toEnd) : toEnd;
}

bool TiffRowSource::nextStrip() {
    const std::int64_t strips = (mFormat.height + mStrips.rowsPerStrip - 1) / mStrips.rowsPerStrip;
    if (mStripIndex + 1 >= strips) {
        missingData(kFormatError);
        return false;
    }
    ++mStripIndex;
    mStripRows = std::min<std::int64_t>(mStrips.rowsPerStrip,
                                        mFormat.height - mStripIndex * mStrips.rowsPerStrip);
    mStripRowsLeft = mStripRows;
    const auto strip = static_cast<std::size_t>(mStripIndex);
    mInput.begin(mStrips.base + mStrips.offsets[strip], stripBudget(strip));
    mNewStrip = true;
    if (mCcitt) mCcitt->beginStrip();
    return true;
}

void TiffRowSource::missingData(int id) {
    if (!mReader.pixfailed())
        mReader.pixerror(VelGen::kSeverityError, VelGen::kVolatilityTransient, id);
}

const unsigned char* TiffRowSource::nextRow() {
    return decodeRow(mRow.get()) ? mRow.get() : nullptr;
}

bool TiffRowSource::nextRowInto(unsigned char* destination) {
    return decodeRow(destination);
}

bool TiffRowSource::decodeRow(unsigned char* row) {
    if (mStripRowsLeft == 0 && !nextStrip()) return false;
    --mStripRowsLeft;
    switch (mFormat.codec) {
        case Codec::kNone:
            rawRow(row);
            return true;
        case Codec::kPackBits:
            packBitsRow(row);
            return true;
        case Codec::kLzw:
            return lzwRow(row);
        case Codec::kCcitt:
            ccittRow(row);
            return true;
    }
    return false;
}

bool TiffRowSource::skipRow() {
    if (mStrips.rowsPerStrip == 1 && mFormat.codec != Codec::kNone) {
        // The next row is found through its own strip offset.
        if (mStripRowsLeft == 0 && !nextStrip()) return false;
        --mStripRowsLeft;
        return true;
    }
    return nextRow() != nullptr;
}

void TiffRowSource::rawRow(unsigned char* row) {
    const int want = static_cast<int>(mFormat.rowBytes);
    const int got = mInput.read(row, want);
    if (got < want) {
        std::memset(row + got, 0, static_cast<std::size_t>(want - got));
        missingData(kCannotRead);
    }
}

void TiffRowSource::packBitsRow(unsigned char* row) {
    const std::span<unsigned char> bytes(row, static_cast<std::size_t>(mFormat.rowBytes));
    if (decodePackBitsRow(mInput, bytes) == PackBitsRowResult::kTruncated)
        missingData(kFormatError);
}

void TiffRowSource::ccittRow(unsigned char* row) {
    if (mCcitt->decodeRow(row) == CcittDecoder::Status::kOutOfData) missingData(kFormatError);
}

void TiffRowSource::decodeLzwStrip() {
    const std::int64_t needed = mFormat.rowBytes * mStripRows;
    const std::int64_t budget = stripBudget(static_cast<std::size_t>(mStripIndex));
    const std::int64_t capacity =
        std::min(needed, std::max<std::int64_t>(budget, 1) * kLzwMaxExpansion);
    if (capacity > VelSys::kMaxAllocation) {
        missingData(kOutOfMemory);
        mStripRowsLeft = 0;
        return;
    }
    if (capacity > mStripCapacity) {
        mStripBuffer.reset(new unsigned char[static_cast<std::size_t>(capacity)]);
        mStripCapacity = capacity;
    }
    mLzw->lzwsetbuffer(mStripBuffer.get(), static_cast<int>(capacity));
    mStripPosition = 0;
    mStripFilled = 0;
    mLzw->lzwreastrip();
    mStripFilled = mLzw->lzwfilled();
}

bool TiffRowSource::lzwRow(unsigned char* row) {
    if (mNewStrip) {
        mNewStrip = false;
        try {
            decodeLzwStrip();
        } catch (int) {
            // An invalid code (already told): the strip is given up. The row
            // that was asked for is not counted, and the strip's rows come
            // out empty, so the rows stay in step with the next strip.
            ++mStripRowsLeft;
            mStripFilled = 0;
            mStripBroken = true;
            throw;
        }
        mStripBroken = false;
        if (mReader.pixfailed()) return false;
    }
    const std::int64_t rowBytes = mFormat.rowBytes;
    const std::int64_t available =
        std::clamp<std::int64_t>(mStripFilled - mStripPosition, 0, rowBytes);
    std::memcpy(row, mStripBuffer.get() + mStripPosition, static_cast<std::size_t>(available));
    if (available < rowBytes) {
        std::memset(row + available, 0, static_cast<std::size_t>(rowBytes - available));
        if (!mStripBroken) missingData(kCannotRead);
    }
    mStripPosition += rowBytes;
    if (mFormat.horizontalPredictor) undoPredictor(row);
    return true;
}

// Horizontal differencing: each sample is the running sum of the
// differences of its channel along the row (modulo 2^bits).
void TiffRowSource::undoPredictor(unsigned char* row) const {
    const int spp = mFormat.samplesPerPixel;
    if (mFormat.bitsPerSample == 8) {
        const std::int64_t n = static_cast<std::int64_t>(mFormat.width) * spp;
        for (std::int64_t i = spp; i < n; ++i)
            row[i] = static_cast<unsigned char>(row[i] + row[i - spp]);
        return;
    }
    const std::int64_t n = static_cast<std::int64_t>(mFormat.width) * spp;
    const int hi = mFormat.bigEndian ? 0 : 1, lo = 1 - hi;
    for (std::int64_t i = spp; i < n; ++i) {
        unsigned char* s = row + 2 * i;
        const unsigned char* p = row + 2 * (i - spp);
        const unsigned v = ((s[hi] << 8) | s[lo]) + ((p[hi] << 8) | p[lo]);
        s[hi] = static_cast<unsigned char>(v >> 8);
        s[lo] = static_cast<unsigned char>(v);
    }
}

}  // namespace QuillonCore
