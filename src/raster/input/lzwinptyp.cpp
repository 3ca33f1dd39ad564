#include "raster/input/lzwinptyp.h"

#include <cstdio>
#include <cstring>

#include "platform/velsys/ustring.h"

namespace QuillonCore {

int lzwinptyp::lzwini() {
    mPrefix.assign(kTableSize, 0);
    mLength.assign(kTableSize, 1);
    mSuffix.assign(kTableSize, 0);
    mFirst.assign(kTableSize, 0);
    mScratch.assign(kTableSize + 1, 0);
    for (int i = 0; i < 256; ++i) {
        mSuffix[i] = static_cast<unsigned char>(i);
        mFirst[i] = static_cast<unsigned char>(i);
    }
    mBuffer = nullptr;
    mCapacity = mWrite = mFilled = 0;
    mBits = 0;
    mBitCount = 0;
    mInputAt = mInputLength = 0;
    mInputEnded = false;
    lzwinitable();
    return 0;
}

int lzwinptyp::lzwini(unsigned char* buffer, int capacity) {
    lzwini();
    lzwsetbuffer(buffer, capacity);
    return 0;
}

void lzwinptyp::lzwsetbuffer(unsigned char* buffer, int capacity) {
    mBuffer = buffer;
    mCapacity = capacity > 0 ? capacity : 0;
    mWrite = mFilled = 0;
}

void lzwinptyp::lzwexi() {
    mPrefix = {};
    mLength = {};
    mSuffix = {};
    mFirst = {};
    mScratch = {};
    mBuffer = nullptr;
}

void lzwinptyp::lzwinitable() {
    mNext = kFirstFree;
    mPrevious = -1;
    mWidth = 9;
}

int lzwinptyp::lzwreadbytes(unsigned char* destination, int max) {
    int n = 0;
    while (n < max) {
        const int b = lzwgetbyte();
        if (b < 0) break;
        destination[n++] = static_cast<unsigned char>(b);
    }
    return n;
}

void lzwinptyp::lzwerror(const VelGen::MessageSeverity&, const VelGen::MessageVolatility& volatility, int id) {
    char text[32];
    std::snprintf(text, sizeof text, "lzwerror %d", id);
    VelGen::ShowInfoMessage(VelGen::kSeverityInfo, volatility, VelSys::UTF8ToUni16(text));
}

inline int lzwinptyp::nextInputByte() {
    if (mInputAt < mInputLength) return mInput[mInputAt++];
    if (mInputEnded) return -1;
    mInputLength = lzwreadbytes(mInput, static_cast<int>(sizeof mInput));
    mInputAt = 0;
    if (mInputLength <= 0) {
        mInputLength = 0;
        mInputEnded = true;
        return -1;
    }
    return mInput[mInputAt++];
}

// Codes are taken most significant bit first; running out of input reads
// as the end of information.
int lzwinptyp::lzwgetnextcode() {
    while (mBitCount < mWidth) {
        const int b = nextInputByte();
        if (b < 0) return kEndOfInformation;
        mBits = (mBits << 8) | static_cast<unsigned>(b);
        mBitCount += 8;
    }
    mBitCount -= mWidth;
    return static_cast<int>((mBits >> mBitCount) & ((1u << mWidth) - 1));
}

bool lzwinptyp::isintable(int code) const { return code < mNext; }

void lzwinptyp::addString(int prefix, int firstByteCode) {
    if (mNext >= kTableSize || prefix < 0) return;
    mPrefix[mNext] = static_cast<std::uint16_t>(prefix);
    mSuffix[mNext] = mFirst[firstByteCode];
    mFirst[mNext] = mFirst[prefix];
    mLength[mNext] = static_cast<std::uint16_t>(mLength[prefix] + 1);
    ++mNext;
    if (mNext + 1 >= (1 << mWidth) && mWidth < 12) ++mWidth;
}

void lzwinptyp::lzwaddstringtotable(int code) { addString(mPrevious, code); }

// Strings are chains of prefixes; they are written back to front.
inline void lzwinptyp::copyString(int code, unsigned char* destination) const {
    unsigned char* p = destination + mLength[code];
    while (code > 255) {
        *--p = mSuffix[code];
        code = mPrefix[code];
    }
    *--p = static_cast<unsigned char>(code);
}

inline int lzwinptyp::appendToBuffer(int code) {
    const int length = mLength[code];
    if (length <= mCapacity - mWrite) {
        copyString(code, mBuffer + mWrite);
        mWrite += length;
        if (mWrite < mCapacity) return 0;
        mFilled = mCapacity;
        lzwoutput(mBuffer, mCapacity);
        mWrite = 0;
        return 1;
    }
    // The part that fits completes the buffer; the rest is dropped.
    copyString(code, mScratch.data());
    std::memcpy(mBuffer + mWrite, mScratch.data(), static_cast<std::size_t>(mCapacity - mWrite));
    mFilled = mCapacity;
    const int result = lzwoutput(mBuffer, mCapacity);
    mWrite = 0;
    return result;
}

int lzwinptyp::lzwwritestring(int code) {
    if (mBuffer) return appendToBuffer(code);
    copyString(code, mScratch.data());
    return lzwoutput(mScratch.data(), mLength[code]);
}

void lzwinptyp::invalidCode() {
    VelGen::ShowInfoMessage(VelGen::kSeverityInfo, VelGen::kVolatilityTransient,
                            VelSys::UTF8ToUni16("TIFF:Invalid code !"));
    mFilled = mWrite;
    mWrite = 0;
    lzwinitable();
    throw 1;
}

// One data code (not Clear or end of information): its string is written
// and the table grows by the previous string plus a first byte. A code
// that names no string yet (beyond the next free entry, or any long code
// without a previous one) is invalid.
inline int lzwinptyp::decodeOne(int code) {
    int result;
    if (code < mNext) {
        result = lzwwritestring(code);
        addString(mPrevious, code);
    } else if (code == mNext && mPrevious >= 0) {
        addString(mPrevious, mPrevious);
        result = lzwwritestring(code);
    } else {
        invalidCode();
    }
    mPrevious = code;
    return result;
}

void lzwinptyp::lzwreastrip() {
    mBits = 0;
    mBitCount = 0;
    mInputAt = mInputLength = 0;
    mInputEnded = false;
    mWrite = mFilled = 0;
    lzwinitable();
    for (;;) {
        const int code = lzwgetnextcode();
        if (code == kEndOfInformation) break;
        if (code == kClear) {
            lzwinitable();
            continue;
        }
        if (decodeOne(code)) break;
    }
    if (mFilled == 0) mFilled = mWrite;
    mWrite = 0;
    lzwinitable();
}

int lzwinptyp::lzwrea() {
    int code = lzwgetnextcode();
    while (code == kClear) {
        lzwinitable();
        code = lzwgetnextcode();
    }
    if (code == kEndOfInformation) {
        lzwinitable();
        return 1;
    }
    decodeOne(code);
    return 0;
}

}  // namespace QuillonCore
