#include "raster_output/FailingTargets.h"

#include <algorithm>

namespace QuillonTest {

bool FailingTiffOutStream::WriteUInt16(unsigned short value) {
    const unsigned char b[2] = {static_cast<unsigned char>(value >> 8),
                                static_cast<unsigned char>(value)};
    const unsigned char l[2] = {b[1], b[0]};
    return Write(IsLittleEndian() ? l : b, 2);
}

bool FailingTiffOutStream::WriteUInt32(unsigned long value) {
    unsigned char b[4];
    for (int i = 0; i < 4; ++i)
        b[IsLittleEndian() ? i : 3 - i] = static_cast<unsigned char>(value >> (8 * i));
    return Write(b, 4);
}

bool FailingTiffOutStream::Write(const unsigned char* bytes, unsigned long count) {
    if (Failed() || mWritten + count > mLimit) {
        MarkFailed();
        return false;
    }
    mWritten += count;
    if (mBytes.size() < mPosition + count) mBytes.resize(mPosition + count);
    std::copy(bytes, bytes + count, mBytes.begin() + static_cast<std::ptrdiff_t>(mPosition));
    mPosition += count;
    return true;
}

}  // namespace QuillonTest
