#include "EpsFileWriter.h"

#include <cstdio>
#include <cstring>

namespace Quillon {

void EpsFileWriter::write(const unsigned char* bytes, int count) {
    if (!mAscii) {
        VelSys::filwri(mFile, bytes, count);
        return;
    }
    static const char kHex[] = "0123456789ABCDEF";
    for (int i = 0; i < count; ++i) {
        const unsigned char pair[2] = {static_cast<unsigned char>(kHex[bytes[i] >> 4]),
                                       static_cast<unsigned char>(kHex[bytes[i] & 15])};
        VelSys::filwri(mFile, pair, 2);
        mHexOnLine += 2;
        if (mHexOnLine >= kHexPerLine) {
            VelSys::filwri8sub(mFile, '\n');
            mHexOnLine = 0;
        }
    }
}

void EpsFileWriter::writeText(const char* text) {
    VelSys::filwri(mFile, reinterpret_cast<const unsigned char*>(text),
                   static_cast<int>(std::strlen(text)));
}

void EpsFileWriter::patch(int position, int value) {
    char count[16];
    const int length = std::snprintf(count, sizeof count, " %d", value);
    if (length <= 0 || length > 10) return;
    const int end = VelSys::filpos(mFile);
    VelSys::filpos(mFile, position);
    VelSys::filwri(mFile, reinterpret_cast<const unsigned char*>(count), length);
    VelSys::filpos(mFile, end);
}

}  // namespace Quillon
