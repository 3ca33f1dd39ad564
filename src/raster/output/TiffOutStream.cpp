#include "raster/output/TiffOutStream.h"

#include <cstring>

namespace QuillonCore {

bool TiffOutStream::WriteZeroTerminatedString(const char* text) {
    if (!text) return !mFailed;
    return Write(reinterpret_cast<const unsigned char*>(text), std::strlen(text));
}

std::uint16_t TiffOutStream::Ordered16(std::uint16_t value) const {
    return IsLittleEndian() ? static_cast<std::uint16_t>((value >> 8) | (value << 8)) : value;
}

std::uint32_t TiffOutStream::Ordered32(std::uint32_t value) const {
    return IsLittleEndian() ? __builtin_bswap32(value) : value;
}

bool TiffOutStream::Track(bool ok) {
    if (!ok) mFailed = true;
    return !mFailed;
}

}  // namespace QuillonCore
