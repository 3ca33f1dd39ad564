#include "raster/input/PixelBuffer.h"

#include <algorithm>
#include <cstdint>

#include "platform/velsys/drapix.h"

namespace QuillonCore {

namespace {

// Pixels of 4 bytes whose bytes 1, 2, 3 are R, G, B.
struct SourcePixels {
    const unsigned char* bytes;
    std::size_t rowPitchBytes;
    unsigned long rows;
    unsigned long columns;
};

PixelBuffer copyPart(const SourcePixels& source, unsigned long firstRow, unsigned long endRow,
                     unsigned long firstColumn, unsigned long endColumn) {
    endRow = std::min(endRow, source.rows);
    endColumn = std::min(endColumn, source.columns);
    if (!source.bytes || firstRow >= endRow || firstColumn >= endColumn) return PixelBuffer();
    const unsigned long width = endColumn - firstColumn;
    const unsigned long height = endRow - firstRow;
    boost::shared_array<unsigned char> data(new unsigned char[width * height * 4]);
    unsigned char* out = data.get();
    for (unsigned long r = firstRow; r < endRow; ++r) {
        const unsigned char* in = source.bytes + r * source.rowPitchBytes + firstColumn * 4;
        for (unsigned long c = 0; c < width; ++c, in += 4, out += 4)
            out[0] = 255, out[1] = in[1], out[2] = in[2], out[3] = in[3];
    }
    return PixelBuffer(data, width, height);
}

}  // namespace

PixelBuffer::PixelBuffer(boost::shared_array<unsigned char> data, unsigned long width,
                         unsigned long height)
    : mData(std::move(data)), mWidth(width), mHeight(height) {}

PixelBuffer PixelBuffer::CreateFromColor(unsigned char r, unsigned char g, unsigned char b) {
    boost::shared_array<unsigned char> data(new unsigned char[4]{255, r, g, b});
    return PixelBuffer(data, 1, 1);
}

PixelBuffer PixelBuffer::CreateFromDraPix(VelSys::drapix* drawing) {
    if (!drawing) return PixelBuffer();
    return CreateFromDraPix(drawing, 0, drawing->getRowCount(), 0, drawing->getColumnCount());
}

PixelBuffer PixelBuffer::CreateFromDraPix(VelSys::drapix* drawing, int firstRow, int endRow,
                                          int firstColumn, int endColumn) {
    if (!drawing || firstRow < 0 || firstColumn < 0 || endRow <= firstRow ||
        endColumn <= firstColumn)
        return PixelBuffer();
    std::uint32_t* pixels = nullptr;
    int rowPitch = 0;
    if (VelSys::drabufloc(drawing, &pixels, &rowPitch, nullptr) != 0) return PixelBuffer();
    struct Unlock {
        VelSys::drapix* drawing;
        ~Unlock() { VelSys::drabufunl(drawing); }
    } unlock{drawing};
    const SourcePixels source{reinterpret_cast<const unsigned char*>(pixels),
                              static_cast<std::size_t>(std::max(rowPitch, 0)) * 4,
                              static_cast<unsigned long>(drawing->getRowCount()),
                              static_cast<unsigned long>(drawing->getColumnCount())};
    return copyPart(source, firstRow, endRow, firstColumn, endColumn);
}

PixelBuffer PixelBuffer::CreatePartFromPixelBuffer(const PixelBuffer& source,
                                                   unsigned long firstRow, unsigned long endRow,
                                                   unsigned long firstColumn,
                                                   unsigned long endColumn) {
    const SourcePixels pixels{source.mData.get(), source.mWidth * 4, source.mHeight, source.mWidth};
    return copyPart(pixels, firstRow, endRow, firstColumn, endColumn);
}

}  // namespace QuillonCore
