#include "raster/input/pixcolsyncache.h"

namespace QuillonCore {

bool pixcolsyncache::Shape::operator==(const Shape& other) const {
    return file == other.file && imageOffset == other.imageOffset && width == other.width &&
           separationCount == other.separationCount && link == other.link;
}

bool pixcolsyncache::join(const Shape& shape) {
    if (shape.file.isEmpty() || shape.width <= 0 || shape.separationCount <= 0) return false;
    if (mReferenceCount > 0) {
        if (!(shape == mShape)) return false;
        ++mReferenceCount;
        return true;
    }
    mRow.assign(static_cast<std::size_t>(shape.separationCount) * shape.width, 0);
    mRowNumber = -1;
    mShape = shape;
    mReferenceCount = 1;
    return true;
}

void pixcolsyncache::leave() {
    if (mReferenceCount <= 0) return;
    if (--mReferenceCount > 0) return;
    mRow = std::vector<unsigned char>();
    mRowNumber = -1;
    mShape = Shape();
}

}  // namespace QuillonCore
