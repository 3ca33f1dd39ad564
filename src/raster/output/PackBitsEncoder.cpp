#include "raster/output/PackBitsEncoder.h"

#include <algorithm>
#include <cstring>

namespace QuillonCore {

namespace {
constexpr std::size_t kMaxPacket = 128;
}

std::size_t PackBitsEncoder::RunLength(const unsigned char* bytes, std::size_t count) {
    const std::size_t limit = std::min(count, kMaxPacket);
    std::size_t n = 1;
    while (n < limit && bytes[n] == bytes[0]) ++n;
    return n;
}

std::size_t PackBitsEncoder::LiteralLength(const unsigned char* bytes, std::size_t count) {
    const std::size_t limit = std::min(count, kMaxPacket);
    std::size_t n = 1;
    while (n < limit && bytes[n] != bytes[n - 1]) ++n;
    // bytes[n - 1] == bytes[n] begins a run unless the packet is already full.
    return n < limit ? n - 1 : n;
}

void PackBitsEncoder::EncodeStrip(const unsigned char* bytes, std::size_t count,
                                  std::vector<unsigned char>& out) const {
    out.resize(MaxEncodedSize(count));
    unsigned char* o = out.data();
    std::size_t i = 0;
    while (i < count) {
        const std::size_t left = count - i;
        if (left >= 2 && bytes[i] == bytes[i + 1]) {
            const std::size_t n = RunLength(bytes + i, left);
            *o++ = static_cast<unsigned char>(1 - static_cast<int>(n));
            *o++ = bytes[i];
            i += n;
        } else {
            const std::size_t n = LiteralLength(bytes + i, left);
            *o++ = static_cast<unsigned char>(n - 1);
            std::memcpy(o, bytes + i, n);
            o += n;
            i += n;
        }
    }
    *o++ = kNoOperation;
    out.resize(static_cast<std::size_t>(o - out.data()));
}

}  // namespace QuillonCore
