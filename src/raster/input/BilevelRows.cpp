// The free functions of the reader frame that turn rows bilevel: thresholding,
// run lists and bit packing.

#include <climits>
#include <cstring>

#include "raster/input/RunListWriter.h"
#include "raster/input/pixreatyp.h"

namespace QuillonCore {

int gTreshold = 50;

void graytobw(unsigned char* bytes, int count) {
    if (!bytes || count <= 0) return;
    const int limit = (100 - gTreshold) * 255 / 100;
    unsigned char acc = 0;
    int i = 0;
    for (; i < count; ++i) {
        acc = static_cast<unsigned char>((acc << 1) | (bytes[i] <= limit ? 1 : 0));
        if ((i & 7) == 7) {
            bytes[i >> 3] = acc;
            acc = 0;
        }
    }
    if (i & 7) bytes[i >> 3] = static_cast<unsigned char>(acc << (8 - (i & 7)));
}

void pixcompressto1bit(unsigned char* bytes, int count) {
    if (!bytes || count <= 0) return;
    for (int group = 0; group * 8 < count; ++group) {
        unsigned char out = 0;
        for (int k = 0; k < 8 && group * 8 + k < count; ++k)
            if (bytes[group * 8 + k]) out |= static_cast<unsigned char>(0x80 >> k);
        bytes[group] = out;
    }
}

void bwtorun(unsigned char* runs, int runsCapacityBytes, const unsigned char* bits, int width,
             int polarity) {
    if (!encodeRunList(runs, runsCapacityBytes, bits, width, polarity))
        VelGen::message(VelGen::kSeverityError, VelGen::kVolatilityTransient, 101);
}

}  // namespace QuillonCore
