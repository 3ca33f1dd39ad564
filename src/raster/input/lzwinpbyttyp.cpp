#include "raster/input/lzwinpbyttyp.h"

#include "platform/velsys/Debug.h"

namespace QuillonCore {

namespace {
constexpr const char* kConfused = "Something went wrong with lzwfilter";
}

int lzwinpbyttyp::lzwoutput(const unsigned char* bytes, int count) {
    if (mPosition == mSize) {
        mChunk = bytes;
        mSize = count;
        mPosition = 0;
    }
    return 0;
}

int lzwinpbyttyp::getcha() {
    if (mState == -1) {
        lzwini();
        mState = 0;
    }
    if (mState == 1) return -1;
    if (mPosition == mSize) {
        if (mChunk || lzwrea() == 1) VelSys::debugstring(kConfused);
    }
    if (mPosition == mSize) {
        VelSys::debugstring(kConfused);
        mState = 1;
        mChunk = nullptr;
        lzwexi();
        return -1;
    }
    const int result = mChunk[mPosition++];
    if (mPosition == mSize && lzwrea() == 1) {
        // Decoding ahead found the end: this was the last byte.
        mState = 1;
        mChunk = nullptr;
        lzwexi();
    }
    return result;
}

}  // namespace QuillonCore
