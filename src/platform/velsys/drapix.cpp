#include "platform/velsys/drapix.h"

#include <algorithm>
#include <cstring>

namespace VelSys {

drapix::drapix(int rows, int columns, int rowPitch)
    : mRows(std::max(rows, 0)),
      mColumns(std::max(columns, 0)),
      mRowPitch(std::max(rowPitch, mColumns)),
      mPixels(static_cast<std::size_t>(mRows) * static_cast<std::size_t>(mRowPitch), 0) {}

void drapix::setPixel(int row, int column, unsigned char r, unsigned char g, unsigned char b) {
    if (row < 0 || row >= mRows || column < 0 || column >= mColumns) return;
    const unsigned char bytes[4] = {0, r, g, b};
    std::memcpy(&mPixels[static_cast<std::size_t>(row) * mRowPitch + column], bytes, 4);
}

int drabufloc(drapix* drawing, std::uint32_t** pixels, int* rowPitch, void*) {
    if (!drawing) return -1;
    ++drawing->mLocks;
    if (pixels) *pixels = drawing->mPixels.data();
    if (rowPitch) *rowPitch = drawing->mRowPitch;
    return 0;
}

void drabufunl(drapix* drawing) {
    if (drawing && drawing->mLocks > 0) --drawing->mLocks;
}

}  // namespace VelSys
