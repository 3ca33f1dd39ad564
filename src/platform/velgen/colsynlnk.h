#pragma once
// A colour link of the general library: converts pixels of one colour space
// into another. The library only calls process(); how a link converts is its
// own business (hosts and tests supply links).

namespace VelGen {

class colsynlnk {
public:
    virtual ~colsynlnk() = default;
    // Converts `count` pixels from `in` to `out`; nonzero on success.
    virtual int process(const unsigned char* in, unsigned char* out, int count) = 0;
};

// Converts a CMYK row (ink amounts, 4 bytes per pixel) in place into 4-byte
// xRGB pixels (0, R, G, B) with the naive complement:
//   R = (255 - C) x (255 - K) / 255, likewise G from M and B from Y.
void cmykrgbrun(unsigned char* bytes, int pixelCount);

}  // namespace VelGen
