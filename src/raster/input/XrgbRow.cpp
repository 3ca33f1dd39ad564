#include "raster/input/XrgbRow.h"

#include <cstring>
#include <vector>

#include "platform/velgen/colsynlnk.h"
#include "raster/input/pixreatyp.h"

namespace QuillonCore {

namespace {

VelGen::colsynlnk* gPreviewLink = nullptr;

// Link output and ink rows. Readers run on one thread; the row is reused so
// that a preview does not allocate per row. The output part has room for 4
// bytes per pixel so that a link writing more than the 3 it promises cannot
// run off it.
std::vector<unsigned char>& scratch(std::size_t bytes) {
    thread_local std::vector<unsigned char> row;
    if (row.size() < bytes) row.resize(bytes);
    return row;
}

// Runs the preview link over count pixels into a scratch row; null when no
// link is set or it failed.
const unsigned char* linkOutput(const unsigned char* in, int count, std::size_t extra = 0) {
    if (!gPreviewLink) return nullptr;
    unsigned char* out = scratch(4 * static_cast<std::size_t>(count) + extra).data() + extra;
    return gPreviewLink->process(in, out, count) ? out : nullptr;
}

void put(unsigned char* p, unsigned char a, unsigned char b, unsigned char c, unsigned char d) {
    p[0] = a, p[1] = b, p[2] = c, p[3] = d;
}

void putNative(unsigned char* p, std::uint32_t value) {
    std::memcpy(p, &value, 4);
}

unsigned packedIndex(const unsigned char* packed, int bits, int i) {
    const int bit = i * bits;
    const unsigned mask = (1u << bits) - 1u;
    return (packed[bit >> 3] >> (8 - bits - (bit & 7))) & mask;
}

}  // namespace

void tifcolsynset(VelGen::colsynlnk* link) {
    gPreviewLink = link;
}

VelGen::colsynlnk* tifcolsynget() {
    return gPreviewLink;
}

void xrgbFromLuminance(const unsigned char* gray, int count, unsigned char* xrgb) {
    if (!gray || !xrgb || count <= 0) return;
    if (gPreviewLink) {
        // The ink row sits in front of the link output in the same scratch.
        const std::size_t n = static_cast<std::size_t>(count);
        unsigned char* ink = scratch(5 * n).data();
        for (std::size_t i = 0; i < n; ++i) ink[i] = static_cast<unsigned char>(255 - gray[i]);
        if (const unsigned char* o = linkOutput(ink, count, n)) {
            for (std::size_t i = 0; i < n; ++i, o += 3)
                put(xrgb + 4 * i, 0, static_cast<unsigned char>(255 - o[0]),
                    static_cast<unsigned char>(255 - o[1]), static_cast<unsigned char>(255 - o[2]));
            return;
        }
    }
    for (int i = count - 1; i >= 0; --i) {
        const unsigned char l = gray[i];
        put(xrgb + 4 * i, 0, l, l, l);
    }
}

void xrgbFromRgb(const unsigned char* rgb, int count, unsigned char* xrgb) {
    if (!rgb || !xrgb || count <= 0) return;
    if (const unsigned char* o = linkOutput(rgb, count)) {
        for (int i = 0; i < count; ++i, o += 3) put(xrgb + 4 * i, 0, o[0], o[1], o[2]);
        return;
    }
    for (int i = count - 1; i >= 0; --i) {
        const unsigned char* p = rgb + 3 * i;
        put(xrgb + 4 * i, 0, p[0], p[1], p[2]);
    }
}

void xrgbFromInk(const unsigned char* cmyk, int count, unsigned char* xrgb) {
    if (!cmyk || !xrgb || count <= 0) return;
    if (const unsigned char* o = linkOutput(cmyk, count)) {
        for (int i = 0; i < count; ++i, o += 3) put(xrgb + 4 * i, o[2], o[1], o[0], 0);
        return;
    }
    if (cmyk != xrgb) std::memmove(xrgb, cmyk, 4 * static_cast<std::size_t>(count));
    VelGen::cmykrgbrun(xrgb, count);
}

void xrgbFromBits(const unsigned char* bits, int count, bool setIsWhite, unsigned char* xrgb) {
    if (!bits || !xrgb || count <= 0) return;
    for (int i = count - 1; i >= 0; --i) {
        const bool set = packedIndex(bits, 1, i) != 0;
        putNative(xrgb + 4 * i, set == setIsWhite ? 16777215u : 0u);
    }
}

bool xrgbFromPalette(const unsigned char* indexes, int bitsPerIndex, int count,
                     const std::uint32_t* palette, int paletteSize, unsigned char* xrgb) {
    if (bitsPerIndex != 1 && bitsPerIndex != 2 && bitsPerIndex != 4 && bitsPerIndex != 8)
        return false;
    if (!indexes || !xrgb || count <= 0) return true;
    for (int i = count - 1; i >= 0; --i) {
        const unsigned index = packedIndex(indexes, bitsPerIndex, i);
        const bool known =
            palette && index < static_cast<unsigned>(paletteSize < 0 ? 0 : paletteSize);
        putNative(xrgb + 4 * i, known ? palette[index] & 0xFFFFFFu : 0u);
    }
    return true;
}

}  // namespace QuillonCore
