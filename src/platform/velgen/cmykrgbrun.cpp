#include "platform/velgen/colsynlnk.h"

namespace VelGen {

void cmykrgbrun(unsigned char* bytes, int pixelCount) {
    if (!bytes) return;
    for (int i = 0; i < pixelCount; ++i) {
        unsigned char* p = bytes + 4 * i;
        const unsigned white = 255u - p[3];
        const unsigned char r = static_cast<unsigned char>((255u - p[0]) * white / 255u);
        const unsigned char g = static_cast<unsigned char>((255u - p[1]) * white / 255u);
        const unsigned char b = static_cast<unsigned char>((255u - p[2]) * white / 255u);
        p[0] = 0, p[1] = r, p[2] = g, p[3] = b;
    }
}

}  // namespace VelGen
