#include "LibtiffOracle.h"

#include <openssl/evp.h>
#include <tiffio.h>

#include <cstring>

#include "platform/velgen/colsynlnk.h"
#include "raster/input/RunListWriter.h"

namespace QuillonTest {

LibtiffOracle::LibtiffOracle(const std::string& path) {
    TIFFSetErrorHandler(nullptr);
    TIFFSetWarningHandler(nullptr);
    TIFF* tif = TIFFOpen(path.c_str(), "r");
    if (!tif) return;
    std::uint32_t w = 0, h = 0;
    std::uint16_t spp = 1, bits = 1, photometric = 0;
    TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &w);
    TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &h);
    TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLESPERPIXEL, &spp);
    TIFFGetFieldDefaulted(tif, TIFFTAG_BITSPERSAMPLE, &bits);
    TIFFGetField(tif, TIFFTAG_PHOTOMETRIC, &photometric);
    mWidth = static_cast<int>(w);
    mHeight = static_cast<int>(h);
    mSpp = spp;
    mBits = bits;
    mPhotometric = photometric;
    std::uint16_t *r = nullptr, *g = nullptr, *b = nullptr;
    if (photometric == PHOTOMETRIC_PALETTE && TIFFGetField(tif, TIFFTAG_COLORMAP, &r, &g, &b))
        for (int i = 0; i < (1 << bits) && i < 256; ++i)
            mPalette.push_back((std::uint32_t{r[i]} >> 8) << 16 | (std::uint32_t{g[i]} >> 8) << 8 |
                               b[i] >> 8);
    mScanlineSize = static_cast<std::size_t>(TIFFScanlineSize(tif));
    mScanlines.assign(mScanlineSize * h, 0);
    mOk = true;
    for (std::uint32_t y = 0; y < h && mOk; ++y)
        mOk = TIFFReadScanline(tif, mScanlines.data() + y * mScanlineSize, y) == 1;
    TIFFClose(tif);
}

std::string LibtiffOracle::scanlineDigest() const {
    unsigned char digest[32];
    unsigned int length = 0;
    EVP_Digest(mScanlines.data(), mScanlines.size(), digest, &length, EVP_sha256(), nullptr);
    static const char* hex = "0123456789abcdef";
    std::string text;
    for (unsigned i = 0; i < length; ++i) text += {hex[digest[i] >> 4], hex[digest[i] & 15]};
    return text;
}

int LibtiffOracle::sample(int y, int x, int channel) const {
    const unsigned char* row = mScanlines.data() + y * mScanlineSize;
    const std::size_t index = static_cast<std::size_t>(x) * mSpp + channel;
    if (mBits == 16) return row[2 * index + 1];  // host order (little-endian): the high byte
    if (mBits == 8) return row[index];
    const std::size_t bitIndex = index * mBits;
    const int value = (row[bitIndex >> 3] >> (8 - mBits - (bitIndex & 7))) & ((1 << mBits) - 1);
    return mBits == 1 && mPhotometric != 3 ? value * 255 : value;
}

bool LibtiffOracle::bit(int y, int x) const {
    const unsigned char* row = mScanlines.data() + y * mScanlineSize;
    return (row[x >> 3] >> (7 - (x & 7))) & 1;
}

std::vector<unsigned char> LibtiffOracle::runs(const std::vector<unsigned char>& luminance) const {
    std::vector<std::int32_t> values;
    for (int x = 0; x < mWidth; ++x) {
        const bool dark = luminance[x] <= 127;
        const bool wasDark = x > 0 && luminance[x - 1] <= 127;
        if (dark && !wasDark) values.push_back(x);
        if (!dark && wasDark) values.push_back(x - 1);
    }
    if (values.size() & 1) values.push_back(mWidth - 1);
    values.push_back(QuillonCore::kRunListTerminator);
    std::vector<unsigned char> bytes(values.size() * 4);
    std::memcpy(bytes.data(), values.data(), bytes.size());
    return bytes;
}

std::vector<unsigned char> LibtiffOracle::expectedRow(int selector, int y) const {
    if (mBits == 1 && mSpp == 1 && mPhotometric <= 1) return bilevelRow(selector, y);
    return colourRow(selector, y);
}

std::vector<unsigned char> LibtiffOracle::bilevelRow(int selector, int y) const {
    std::vector<unsigned char> luminance(mWidth);
    for (int x = 0; x < mWidth; ++x) luminance[x] = bit(y, x) == (mPhotometric == 0) ? 0 : 255;
    if (selector == -2) return runs(luminance);
    if (selector != -1) return luminance;
    std::vector<unsigned char> xrgb(4 * mWidth);
    for (int x = 0; x < mWidth; ++x) std::memset(&xrgb[4 * x], luminance[x], 3);
    return xrgb;
}

std::vector<unsigned char> LibtiffOracle::colourRow(int selector, int y) const {
    const int w = mWidth;
    std::vector<unsigned char> out;
    std::vector<unsigned char> luminance(w);
    const bool gray = mPhotometric <= 1, rgb = mPhotometric == 2, cmyk = mPhotometric == 5;
    auto value = [&](int x, int c) {
        const int s = sample(y, x, c);
        return static_cast<unsigned char>(gray && mPhotometric == 0 ? 255 - s : s);
    };
    const int composite = gray ? 1 : rgb ? 3 : cmyk ? 4 : 0;
    for (int x = 0; x < w; ++x) {
        if (selector == -3 || selector == -1)
            for (int c = 0; c < composite; ++c) out.push_back(value(x, c));
        else if (selector == -4)
            for (int c = 0; c < mSpp; ++c) out.push_back(value(x, c));
        else if (selector >= 0)
            out.push_back((rgb || (cmyk && selector < 4)) ? 255 - value(x, selector)
                                                          : value(x, selector));
        if (gray) luminance[x] = value(x, 0);
        if (rgb)
            luminance[x] = static_cast<unsigned char>(
                (30 * value(x, 0) + 59 * value(x, 1) + 11 * value(x, 2)) / 100);
        if (cmyk) {
            const int ink =
                (30 * value(x, 0) + 59 * value(x, 1) + 11 * value(x, 2) + 100 * value(x, 3)) / 100;
            luminance[x] = static_cast<unsigned char>(255 - std::min(255, ink));
        }
    }
    if (selector == -2) return runs(luminance);
    if (selector != -1) return out;
    std::vector<unsigned char> xrgb(4 * w);
    for (int x = 0; x < w; ++x) {
        unsigned char* p = &xrgb[4 * x];
        if (mPhotometric == 3) {
            std::memcpy(p, &mPalette[sample(y, x, 0)], 4);
        } else if (gray) {
            p[0] = 0, p[1] = p[2] = p[3] = out[x];
        } else if (rgb) {
            p[0] = 0, std::memcpy(p + 1, &out[3 * x], 3);
        } else {
            std::memcpy(p, &out[4 * x], 4);
        }
    }
    if (cmyk) VelGen::cmykrgbrun(xrgb.data(), w);
    return xrgb;
}

}  // namespace QuillonTest
