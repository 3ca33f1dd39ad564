#include "raster/output/noroutfil.h"

namespace QuillonCore {

void noroutfil::putcha(char byte) {
    VelSys::filwri8sub(mFile, static_cast<unsigned char>(byte));
}

void noroutfil::PutUns8Buffer(const unsigned char* bytes, int count) {
    if (bytes && count > 0) VelSys::filwri(mFile, bytes, count);
}

}  // namespace QuillonCore
