#pragma once
// A small reference-counted picture of 4-byte pixels (255, R, G, B), row
// after row without padding. Copies share the pixels.
//
// The constructor trusts its caller: data must hold width x height x 4
// bytes. Parts are cut from drawings or other buffers with half-open ranges
// (first included, end excluded); ends are clamped to the source, and a
// range that starts outside the source (negative included) or is empty gives
// the empty buffer (no data, 0 x 0).

#include <boost/shared_array.hpp>

namespace VelSys {
class drapix;
}

namespace QuillonCore {

class PixelBuffer {
  public:
    PixelBuffer() = default;
    PixelBuffer(boost::shared_array<unsigned char> data, unsigned long width, unsigned long height);

    boost::shared_array<unsigned char> GetPixelData() const { return mData; }
    unsigned long GetWidth() const { return mWidth; }
    unsigned long GetHeight() const { return mHeight; }
    // width x height x 4.
    unsigned long GetBufferSize() const { return mWidth * mHeight * 4; }

    // One pixel (255, r, g, b).
    static PixelBuffer CreateFromColor(unsigned char r, unsigned char g, unsigned char b);
    // The whole drawing; a null drawing gives the empty buffer.
    static PixelBuffer CreateFromDraPix(VelSys::drapix* drawing);
    static PixelBuffer CreateFromDraPix(VelSys::drapix* drawing, int firstRow, int endRow,
                                        int firstColumn, int endColumn);
    static PixelBuffer CreatePartFromPixelBuffer(const PixelBuffer& source, unsigned long firstRow,
                                                 unsigned long endRow, unsigned long firstColumn,
                                                 unsigned long endColumn);

  private:
    boost::shared_array<unsigned char> mData;
    unsigned long mWidth = 0;
    unsigned long mHeight = 0;
};

}  // namespace QuillonCore
