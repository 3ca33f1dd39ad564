#pragma once
// The system library's drawing buffer: a picture of 32-bit pixels in memory
// order pad, R, G, B, row after row. The row pitch (in pixels) may exceed the
// column count.

#include <cstdint>
#include <vector>

namespace VelSys {

class drapix {
public:
    drapix(int rows, int columns, int rowPitch = 0);

    int getRowCount() const { return mRows; }
    int getColumnCount() const { return mColumns; }
    int getRowPitch() const { return mRowPitch; }
    bool isLocked() const { return mLocks > 0; }
    // Sets the pixel at (row, column) to pad, r, g, b.
    void setPixel(int row, int column, unsigned char r, unsigned char g, unsigned char b);

private:
    friend int drabufloc(drapix*, std::uint32_t**, int*, void*);
    friend void drabufunl(drapix*);
    int mRows;
    int mColumns;
    int mRowPitch;
    int mLocks = 0;
    std::vector<std::uint32_t> mPixels;
};

// Locks the pixels: *pixels points at row 0, *rowPitch is in pixels. 0 on success.
int drabufloc(drapix* drawing, std::uint32_t** pixels, int* rowPitch, void* reserved);
void drabufunl(drapix* drawing);

}  // namespace VelSys
