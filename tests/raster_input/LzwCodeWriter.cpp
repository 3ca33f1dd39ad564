#include "LzwCodeWriter.h"

namespace QuillonTest {

void LzwCodeWriter::code(int value) {
    mBits = (mBits << mWidth) | static_cast<unsigned>(value);
    mCount += mWidth;
    while (mCount >= 8) {
        mCount -= 8;
        mBytes.push_back(static_cast<unsigned char>(mBits >> mCount));
    }
    if (value == kClear) {
        mWidth = 9, mNext = 258, mFirst = true;
        return;
    }
    if (value == kEnd) return;
    if (!mFirst && mNext < 4096) ++mNext;
    mFirst = false;
    if (mNext + 1 >= (1 << mWidth) && mWidth < 12) ++mWidth;
}

std::vector<unsigned char> LzwCodeWriter::bytes() const {
    std::vector<unsigned char> out = mBytes;
    if (mCount) out.push_back(static_cast<unsigned char>(mBits << (8 - mCount)));
    return out;
}

std::vector<unsigned char> LzwCodeWriter::literals(const std::vector<unsigned char>& data) {
    LzwCodeWriter w;
    w.code(kClear);
    for (unsigned char b : data) w.code(b);
    w.code(kEnd);
    return w.bytes();
}

}  // namespace QuillonTest
