#include "raster/input/TiffRowShaper.h"

#include <algorithm>
#include <cstring>

#include "raster/input/RunListWriter.h"
#include "raster/input/XrgbRow.h"
#include "raster/input/pixreatyp.h"

namespace QuillonCore {

namespace {

int compositeSamples(TiffRowShaper::Model model) {
    switch (model) {
        case TiffRowShaper::Model::kRgb:
            return 3;
        case TiffRowShaper::Model::kCmyk:
            return 4;
        default:
            return 1;
    }
}

// Single channels of RGB images, and the process channels of CMYK images,
// are delivered inverted (255 is no colour, no ink).
bool invertsChannel(const TiffRowShaper::Setup& setup) {
    if (setup.model == TiffRowShaper::Model::kRgb) return true;
    return setup.model == TiffRowShaper::Model::kCmyk && setup.channel < 4;
}

}  // namespace

TiffRowShaper::TiffRowShaper(Setup setup)
    : mSetup(std::move(setup)),
      mSampleCount(static_cast<std::int64_t>(mSetup.width) * mSetup.samplesPerPixel),
      mCompositeSamples(compositeSamples(mSetup.model)),
      mInvertChannel(invertsChannel(mSetup)),
      mSamples(
          std::make_unique_for_overwrite<unsigned char[]>(static_cast<std::size_t>(mSampleCount))),
      mGray(
          std::make_unique_for_overwrite<unsigned char[]>(static_cast<std::size_t>(mSetup.width))) {
}

const unsigned char* TiffRowShaper::normalize(const unsigned char* stored) {
    if (mSetup.model == Model::kBilevel) return stored;
    if (mSetup.model == Model::kPalette) {
        unpackIndexes(stored);
        return mSamples.get();
    }
    if (mSetup.bitsPerSample == 1) {
        expandBits(stored);
    } else if (mSetup.bitsPerSample == 16) {
        reduce16(stored);
    } else if (mSetup.model == Model::kGray && mSetup.whiteIsZero) {
        std::memcpy(mSamples.get(), stored, static_cast<std::size_t>(mSampleCount));
    } else {
        return stored;
    }
    if (mSetup.model == Model::kGray && mSetup.whiteIsZero)
        for (std::int64_t i = 0; i < mSampleCount; ++i)
            mSamples[i] = static_cast<unsigned char>(255 - mSamples[i]);
    return mSamples.get();
}

bool TiffRowShaper::keepsStoredRow(Shape shape) const {
    const bool storedSamples = mSetup.model != Model::kBilevel && mSetup.model != Model::kPalette &&
                               mSetup.bitsPerSample == 8 &&
                               !(mSetup.model == Model::kGray && mSetup.whiteIsZero);
    return storedSamples && shape == &TiffRowShaper::allSamples;
}

void TiffRowShaper::reduce16(const unsigned char* stored) {
    const int high = mSetup.bigEndian ? 0 : 1;
    for (std::int64_t i = 0; i < mSampleCount; ++i) mSamples[i] = stored[2 * i + high];
}

// 1-bit samples become 0 (clear) or 255 (set).
void TiffRowShaper::expandBits(const unsigned char* stored) {
    for (std::int64_t i = 0; i < mSampleCount; ++i)
        mSamples[i] = (stored[i >> 3] >> (7 - (i & 7))) & 1 ? 255 : 0;
}

// The palette index of each pixel: its first sample, bits wide.
void TiffRowShaper::unpackIndexes(const unsigned char* stored) {
    const int bits = mSetup.bitsPerSample;
    const int spp = mSetup.samplesPerPixel;
    if (bits == 8) {
        for (int x = 0; x < mSetup.width; ++x)
            mSamples[x] = stored[static_cast<std::int64_t>(x) * spp];
        return;
    }
    const int mask = (1 << bits) - 1;
    for (int x = 0; x < mSetup.width; ++x) {
        const std::int64_t bit = static_cast<std::int64_t>(x) * spp * bits;
        mSamples[x] =
            static_cast<unsigned char>((stored[bit >> 3] >> (8 - bits - (bit & 7))) & mask);
    }
}

bool TiffRowShaper::bitsToPreview(const unsigned char* bits, unsigned char* destination, int) {
    xrgbFromBits(bits, mSetup.width, !mSetup.whiteIsZero, destination);
    return true;
}

bool TiffRowShaper::bitsToRuns(const unsigned char* bits, unsigned char* destination, int length) {
    return encodeRunList(destination, length, bits, mSetup.width, mSetup.whiteIsZero ? 1 : 0);
}

bool TiffRowShaper::bitsToBytes(const unsigned char* bits, unsigned char* destination, int) {
    const unsigned char flip = mSetup.whiteIsZero ? 0xFF : 0x00;
    for (int x = 0; x < mSetup.width; ++x)
        destination[x] = ((bits[x >> 3] ^ flip) >> (7 - (x & 7))) & 1 ? 255 : 0;
    return true;
}

// The previews compact the colour samples into the destination and expand
// them there.
bool TiffRowShaper::grayToPreview(const unsigned char* samples, unsigned char* destination,
                                  int length) {
    composite(samples, destination, length);
    xrgbFromLuminance(destination, mSetup.width, destination);
    return true;
}

bool TiffRowShaper::rgbToPreview(const unsigned char* samples, unsigned char* destination,
                                 int length) {
    composite(samples, destination, length);
    xrgbFromRgb(destination, mSetup.width, destination);
    return true;
}

bool TiffRowShaper::cmykToPreview(const unsigned char* samples, unsigned char* destination,
                                  int length) {
    composite(samples, destination, length);
    xrgbFromInk(destination, mSetup.width, destination);
    return true;
}

bool TiffRowShaper::paletteToPreview(const unsigned char* indexes, unsigned char* destination,
                                     int) {
    xrgbFromPalette(indexes, 8, mSetup.width, mSetup.palette.data(),
                    static_cast<int>(mSetup.palette.size()), destination);
    return true;
}

bool TiffRowShaper::grayRowToRuns(unsigned char* destination, int length) {
    graytobw(mGray.get(), mSetup.width);
    return encodeRunList(destination, length, mGray.get(), mSetup.width, 1);
}

bool TiffRowShaper::grayToRuns(const unsigned char* samples, unsigned char* destination,
                               int length) {
    const int spp = mSetup.samplesPerPixel;
    for (int x = 0; x < mSetup.width; ++x) mGray[x] = samples[x * spp];
    return grayRowToRuns(destination, length);
}

bool TiffRowShaper::rgbToRuns(const unsigned char* samples, unsigned char* destination,
                              int length) {
    const int spp = mSetup.samplesPerPixel;
    for (int x = 0; x < mSetup.width; ++x) {
        const unsigned char* p = samples + x * spp;
        mGray[x] = static_cast<unsigned char>((30 * p[0] + 59 * p[1] + 11 * p[2]) / 100);
    }
    return grayRowToRuns(destination, length);
}

bool TiffRowShaper::cmykToRuns(const unsigned char* samples, unsigned char* destination,
                               int length) {
    const int spp = mSetup.samplesPerPixel;
    for (int x = 0; x < mSetup.width; ++x) {
        const unsigned char* p = samples + x * spp;
        const int ink = (30 * p[0] + 59 * p[1] + 11 * p[2] + 100 * p[3]) / 100;
        mGray[x] = static_cast<unsigned char>(255 - std::min(255, ink));
    }
    return grayRowToRuns(destination, length);
}

bool TiffRowShaper::composite(const unsigned char* samples, unsigned char* destination, int) {
    const int spp = mSetup.samplesPerPixel;
    const int k = mCompositeSamples;
    if (spp == k) {
        std::memcpy(destination, samples, static_cast<std::size_t>(mSampleCount));
        return true;
    }
    for (int x = 0; x < mSetup.width; ++x) std::memcpy(destination + x * k, samples + x * spp, k);
    return true;
}

bool TiffRowShaper::allSamples(const unsigned char* samples, unsigned char* destination, int) {
    std::memcpy(destination, samples, static_cast<std::size_t>(mSampleCount));
    return true;
}

bool TiffRowShaper::singleChannel(const unsigned char* samples, unsigned char* destination, int) {
    const int spp = mSetup.samplesPerPixel;
    const unsigned char flip = mInvertChannel ? 0xFF : 0x00;
    const unsigned char* p = samples + mSetup.channel;
    for (int x = 0; x < mSetup.width; ++x) destination[x] = p[x * spp] ^ flip;
    return true;
}

}  // namespace QuillonCore
