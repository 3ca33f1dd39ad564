#include "raster/input/lzwinptyp.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "platform/velsys/ustring.h"

namespace QuillonCore {

int lzwinptyp::lzwini() {
    mPrefix.assign(kTableSize, 0);
    mLength.assign(kTableSize, 1);
    mSuffix.assign(kTableSize, 0);
    mFirst.assign(kTableSize, 0);
    mOffset.assign(kTableSize, 0);
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
    mOffset = {};
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

void lzwinptyp::lzwerror(const VelGen::MessageSeverity&,
                         const VelGen::MessageVolatility& volatility, int id) {
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
    if (mBitCount < mWidth) {
        // Up to seven bytes at a time.
        while (mBitCount <= 56) {
            const int b = nextInputByte();
            if (b < 0) break;
            mBits = (mBits << 8) | static_cast<unsigned>(b);
            mBitCount += 8;
        }
        if (mBitCount < mWidth) return kEndOfInformation;
    }
    mBitCount -= mWidth;
    return static_cast<int>((mBits >> mBitCount) & ((1u << mWidth) - 1));
}

bool lzwinptyp::isintable(int code) const {
    return code < mNext;
}

void lzwinptyp::addString(int prefix, int firstByteCode) {
    if (mNext >= kTableSize || prefix < 0) return;
    mPrefix[mNext] = static_cast<std::uint16_t>(prefix);
    mSuffix[mNext] = mFirst[firstByteCode];
    mFirst[mNext] = mFirst[prefix];
    mLength[mNext] = static_cast<std::uint16_t>(mLength[prefix] + 1);
    ++mNext;
    if (mNext + 1 >= (1 << mWidth) && mWidth < 12) ++mWidth;
}

void lzwinptyp::lzwaddstringtotable(int code) {
    addString(mPrevious, code);
}

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
    if (mBuffer) {
        decodeIntoBuffer();
    } else {
        for (;;) {
            const int code = lzwgetnextcode();
            if (code == kEndOfInformation) break;
            if (code == kClear) {
                lzwinitable();
                continue;
            }
            if (decodeOne(code)) break;
        }
    }
    if (mFilled == 0) mFilled = mWrite;
    mWrite = 0;
    lzwinitable();
}

int lzwinptyp::stripFull(int written) {
    mWrite = written;
    mFilled = mCapacity;
    lzwoutput(mBuffer, mCapacity);
    mWrite = 0;
    return 1;
}

// Copies an earlier string of the buffer forward. With 8 bytes of room
// beyond the string it copies whole words: a word may read past the
// string's end (still inside the buffer, before the destination) and write
// past it (into room the next strings overwrite).
inline void copyEarlier(unsigned char* destination, const unsigned char* source, int length,
                        bool room) {
    if (!room) {
        std::memcpy(destination, source, static_cast<std::size_t>(length));
        return;
    }
    for (int i = 0; i < length; i += 8) {
        std::uint64_t word;
        std::memcpy(&word, source + i, 8);
        std::memcpy(destination + i, &word, 8);
    }
}

// Strip decoding into the output buffer. A table string is always the
// string of an earlier code followed by one byte, and both were written
// to the buffer next to each other: so each entry is kept as the place of
// its string in the buffer, and writing a code is one copy from there.
void lzwinptyp::decodeIntoBuffer() {
    unsigned char* const out = mBuffer;
    const int capacity = mCapacity;
    std::uint16_t* const lengths = mLength.data();
    std::int32_t* const offsets = mOffset.data();
    // The hot state lives in locals (the output bytes may alias any member).
    std::uint64_t bits = mBits;
    int count = mBitCount, width = mWidth, next = mNext;
    int inAt = mInputAt, inLength = mInputLength;
    int written = 0, previous = -1, previousAt = 0;
    auto readCode = [&]() -> int {
        if (count < width) {
            while (count <= 56) {
                int b;
                if (inAt < inLength) {
                    b = mInput[inAt++];
                } else {
                    mInputAt = inAt;
                    b = nextInputByte();
                    inAt = mInputAt;
                    inLength = mInputLength;
                    if (b < 0) break;
                }
                bits = (bits << 8) | static_cast<unsigned>(b);
                count += 8;
            }
            if (count < width) return kEndOfInformation;
        }
        count -= width;
        return static_cast<int>((bits >> count) & ((1u << width) - 1));
    };
    while (written < capacity) {
        const int code = readCode();
        if (code == kEndOfInformation) break;
        if (code == kClear) {
            next = kFirstFree, width = 9, previous = -1;
            continue;
        }
        int length = 1;
        if (code < 256) {
            out[written] = static_cast<unsigned char>(code);
        } else if (code < next || (code == next && previous >= 0)) {
            const bool known = code < next;
            length = known ? lengths[code] : lengths[previous] + 1;
            const int from = known ? offsets[code] : previousAt;
            const int fits = std::min(length, capacity - written);
            copyEarlier(out + written, out + from, known ? fits : std::min(fits, length - 1),
                        capacity - written >= length + 8);
            if (!known && fits == length) out[written + length - 1] = out[previousAt];
            if (fits < length) {
                written = capacity;
                break;
            }
        } else {
            mInputAt = inAt;
            mWrite = written;
            invalidCode();
        }
        if (previous >= 0 && next < kTableSize) {
            lengths[next] = static_cast<std::uint16_t>(lengths[previous] + 1);
            offsets[next] = previousAt;
            ++next;
            if (next + 1 >= (1 << width) && width < 12) ++width;
        }
        previous = code;
        previousAt = written;
        written += length;
    }
    mBits = bits;
    mBitCount = count;
    mInputAt = inAt;
    mNext = next;
    mWidth = width;
    if (written == capacity && capacity > 0) {
        stripFull(written);
        return;
    }
    mWrite = written;
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
