#include "raster/output/SeparationInfo.h"

namespace QuillonCore {

namespace {
// 101 % would wrap to almost no ink in a byte: clamp to full ink.
unsigned char fromPercent(unsigned char percent) {
    const unsigned p = percent > 100 ? 100 : percent;
    return static_cast<unsigned char>(p * 255 / 100);
}
}  // namespace

void SeparationInfo::setCMYK(unsigned char c, unsigned char m, unsigned char y, unsigned char k) {
    mC = fromPercent(c);
    mM = fromPercent(m);
    mY = fromPercent(y);
    mK = fromPercent(k);
}

}  // namespace QuillonCore
