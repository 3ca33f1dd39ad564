#pragma once
// libtiff's decoding of a TIFF file, and the rows the reader is expected to
// deliver for it, derived from libtiff's samples by the layout conventions:
// gray as luminance, CMYK composites as ink, single process channels as
// 255 - ink, RGB single channels inverted, 16-bit samples by their high
// byte, 1-bit pixels as 0 or 255, palettes through the colour map.

#include <cstdint>
#include <string>
#include <vector>

namespace QuillonTest {

class LibtiffOracle {
  public:
    // Reads every scanline; ok() is false when libtiff cannot.
    explicit LibtiffOracle(const std::string& path);

    bool ok() const { return mOk; }
    int width() const { return mWidth; }
    int height() const { return mHeight; }
    int samplesPerPixel() const { return mSpp; }
    int photometric() const { return mPhotometric; }
    // SHA-256 (hex) of the scanlines as libtiff delivers them.
    std::string scanlineDigest() const;
    // Row y in the layout of an output selector (-1 to -4, or a channel).
    std::vector<unsigned char> expectedRow(int selector, int y) const;

  private:
    int sample(int y, int x, int channel) const;  // 8-bit
    bool bit(int y, int x) const;
    std::vector<unsigned char> bilevelRow(int selector, int y) const;
    std::vector<unsigned char> colourRow(int selector, int y) const;
    std::vector<unsigned char> runs(const std::vector<unsigned char>& luminance) const;

    bool mOk = false;
    int mWidth = 0, mHeight = 0, mSpp = 1, mBits = 1, mPhotometric = -1;
    std::size_t mScanlineSize = 0;
    std::vector<unsigned char> mScanlines;
    std::vector<std::uint32_t> mPalette;
};

}  // namespace QuillonTest
