#include "raster/input/CcittDecoder.h"

#include <algorithm>
#include <cstring>

namespace QuillonCore {

namespace {

constexpr int kNoData = -3;
constexpr int kInvalid = -4;
constexpr int kSentinels = 3;

void setBits(unsigned char* bits, int from, int to) {
    if (from >= to) return;
    const int firstByte = from >> 3, lastByte = (to - 1) >> 3;
    const unsigned char head = static_cast<unsigned char>(0xFF >> (from & 7));
    const unsigned char tail = static_cast<unsigned char>(0xFF << (7 - ((to - 1) & 7)));
    if (firstByte == lastByte) {
        bits[firstByte] |= head & tail;
        return;
    }
    bits[firstByte] |= head;
    std::memset(bits + firstByte + 1, 0xFF, static_cast<std::size_t>(lastByte - firstByte - 1));
    bits[lastByte] |= tail;
}

}  // namespace

CcittDecoder::CcittDecoder(StripInput& input, int compression, int width)
    : mInput(input), mCompression(compression), mWidth(width) {
    beginStrip();
}

void CcittDecoder::beginStrip() {
    mWindow = 0;
    mCount = 0;
    mInputEnded = false;
    mEnded = false;
    mReference.assign(kSentinels, mWidth);
}

bool CcittDecoder::fill() {
    while (mCount <= 56 && !mInputEnded) {
        const int b = mInput.next();
        if (b < 0) {
            mInputEnded = true;
            break;
        }
        mWindow |= static_cast<std::uint64_t>(b) << (56 - mCount);
        mCount += 8;
    }
    return mCount > 0;
}

int CcittDecoder::bit() {
    if (mCount == 0 && !fill()) return -1;
    const int b = static_cast<int>(peek(1));
    consume(1);
    return b;
}

// Fill zeros of any length, then the 1 that ends the end-of-line code.
bool CcittDecoder::skipEndOfLine() {
    for (;;) {
        const int b = bit();
        if (b < 0) return false;
        if (b == 1) return true;
    }
}

int CcittDecoder::decodeCode(const CcittCodeTable& table, int indexBits) {
    if (mCount < 16) fill();
    if (mCount == 0) return kNoData;
    if (peek(11) == 0) return skipEndOfLine() ? CcittCodeTable::kEndOfLine : kNoData;
    const CcittCodeTable::Entry& entry = table[peek(indexBits)];
    if (entry.length == 0) return kInvalid;
    if (entry.length > mCount) return kNoData;
    consume(entry.length);
    return entry.value;
}

int CcittDecoder::decodeRun(bool black) {
    const CcittCodeTable& table = black ? CcittCodeTable::black() : CcittCodeTable::white();
    int total = 0;
    for (;;) {
        const int value = decodeCode(table, CcittCodeTable::kRunBits);
        if (value < 0) return value;
        total = std::min(total + value, mWidth);  // saturates: runs never pass the row
        if (value < 64) return total;
    }
}

// Adds count pixels of a colour at position (clamped to the row); a change
// of colour becomes a changing element.
void CcittDecoder::emit(int& position, std::int64_t count, bool black) {
    if (count <= 0 || position >= mWidth) return;
    const bool current = (mCurrent.size() & 1) != 0;
    if (black != current) mCurrent.push_back(position);
    position = static_cast<int>(std::min<std::int64_t>(position + count, mWidth));
}

// T.4 uncompressed mode: runs of zeros before a 1 code white pixels, with a
// black pixel or an exit and the colour of the next run.
CcittDecoder::Step CcittDecoder::decodeUncompressed(int& position, bool& black) {
    for (;;) {
        int zeros = 0;
        int b;
        while ((b = bit()) == 0) ++zeros;
        if (b < 0) return Step::kOutOfData;
        if (zeros > 10) return Step::kRowDone;
        if (zeros <= 4) {
            emit(position, zeros, false);
            emit(position, 1, true);
        } else if (zeros == 5) {
            emit(position, 5, false);
        } else {
            emit(position, zeros - 6, false);
            const int next = bit();
            if (next < 0) return Step::kOutOfData;
            black = next == 1;
            return position >= mWidth ? Step::kRowDone : Step::kContinue;
        }
        if (position >= mWidth) return Step::kRowDone;
    }
}

CcittDecoder::Step CcittDecoder::decodeOneDimensional() {
    if (mCompression == 2) consume(mCount & 7);  // every row starts on a byte boundary
    int position = 0;
    bool black = false;
    bool started = false;
    while (position < mWidth) {
        const int run = decodeRun(black);
        if (run == CcittCodeTable::kEndOfLine) {
            if (!started) continue;  // the end of line that precedes a row
            return Step::kRowDone;
        }
        if (run == kNoData) return Step::kOutOfData;
        if (run == kInvalid) return Step::kStop;
        started = true;
        if (run == CcittCodeTable::kUncompressed) {
            const Step step = decodeUncompressed(position, black);
            if (step != Step::kContinue) return step;
            continue;
        }
        emit(position, run, black);
        black = !black;
    }
    return Step::kRowDone;
}

// b1: the first changing element of the reference row right of a0 whose
// colour is opposite to the current colour (changes at even indexes turn
// black). b2 follows it.
int CcittDecoder::findB1(int a0, bool black) {
    while (mSearch > 0 && mReference[mSearch - 1] > a0) --mSearch;
    while (mSearch + kSentinels - 1 < mReference.size() && mReference[mSearch] <= a0) ++mSearch;
    if ((mSearch & 1) != (black ? 1u : 0u)) ++mSearch;
    mSearch = std::min(mSearch, mReference.size() - 2);
    return mReference[mSearch];
}

CcittDecoder::Step CcittDecoder::decodeTwoDimensional() {
    int a0 = -1;
    bool black = false;
    mSearch = 0;
    while (a0 < mWidth) {
        const int mode = decodeCode(CcittCodeTable::modes(), CcittCodeTable::kModeBits);
        if (mode == kNoData) return Step::kOutOfData;
        if (mode < 0) return Step::kStop;  // end of line, end of block, invalid code
        const int b1 = findB1(a0, black);
        const int b2 = mReference[mSearch + 1];
        int position = std::max(a0, 0);
        if (mode == CcittCodeTable::kPass) {
            emit(position, b2 - position, black);
            a0 = std::max(b2, position);
        } else if (mode == CcittCodeTable::kHorizontal) {
            const int first = decodeRun(black);
            const int second = first < 0 ? first : decodeRun(!black);
            if (first < 0 || second < 0) return second == kNoData ? Step::kOutOfData : Step::kStop;
            emit(position, first, black);
            emit(position, second, !black);
            a0 = position;
        } else if (mode == CcittCodeTable::kExtension) {
            const Step step = decodeUncompressed(position, black);
            a0 = position;
            if (step != Step::kContinue) return step;
        } else {
            const int a1 = b1 + (CcittCodeTable::kV0 - mode);
            if (a1 < position) return Step::kStop;  // a1 may not lie left of a0
            emit(position, a1 - position, black);
            a0 = std::min(a1, mWidth);
            black = !black;
        }
    }
    return Step::kRowDone;
}

void CcittDecoder::render(unsigned char* bits) const {
    std::memset(bits, 0, static_cast<std::size_t>((mWidth + 7) / 8));
    for (std::size_t i = 0; i < mCurrent.size(); i += 2)
        setBits(bits, mCurrent[i], i + 1 < mCurrent.size() ? mCurrent[i + 1] : mWidth);
}

CcittDecoder::Status CcittDecoder::decodeRow(unsigned char* bits) {
    if (mEnded) {
        std::memset(bits, 0, static_cast<std::size_t>((mWidth + 7) / 8));
        return Status::kEnded;
    }
    mCurrent.clear();
    const Step step = mCompression == 4 ? decodeTwoDimensional() : decodeOneDimensional();
    render(bits);
    if (mCompression == 4) {
        mReference = mCurrent;
        mReference.insert(mReference.end(), kSentinels, mWidth);
    }
    if (step == Step::kStop || step == Step::kOutOfData) mEnded = true;
    return step == Step::kOutOfData ? Status::kOutOfData : Status::kRow;
}

}  // namespace QuillonCore
