#pragma once
// All rows of one image in one row layout, back to back, with the shape they
// were made for. Readers serving from the cache hold it by shared reference,
// so emptying the cache never frees rows a live reader still serves.

#include <cstdint>
#include <vector>

namespace QuillonCore {

struct PixelCacheBlock {
    int selector = 0;
    unsigned int imageOffset = 0;
    int width = 0;
    int rows = 0;
    std::int64_t rowBytes = 0;
    // Colour-synthesized rows: the selected separation and the link (-2 and
    // null for rows as the file stores them).
    int separation = -2;
    const void* link = nullptr;
    std::vector<unsigned char> bytes;  // rows x rowBytes

    bool sameShape(const PixelCacheBlock& other) const {
        return selector == other.selector && imageOffset == other.imageOffset &&
               width == other.width && rows == other.rows && rowBytes == other.rowBytes &&
               separation == other.separation && link == other.link;
    }
};

}  // namespace QuillonCore
