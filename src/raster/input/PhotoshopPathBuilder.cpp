#include "raster/input/PhotoshopPathBuilder.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace QuillonCore {

VelDB::Object* PhotoshopPathBuilder::build(std::span<const unsigned char> records) {
    mCompound = VelDB::comnew();
    for (std::size_t at = 0; records.size() - at >= 26; at += 26) {
        const unsigned char* record = records.data() + at;
        const int selector = (record[0] << 8) | record[1];
        if (selector == 0 || selector == 3) {
            beginSubpath();
        } else if (selector == 1 || selector == 2 || selector == 4 || selector == 5) {
            addKnot(record + 2);
        }
    }
    closeSubpath();
    if (mSubpaths == 0) {
        VelDB::objrem(mCompound);
        return nullptr;
    }
    return mCompound;
}

void PhotoshopPathBuilder::beginSubpath() {
    closeSubpath();
    mPath = VelDB::patbeg();
    mFirst.reset();
}

// Knots met before any subpath record have no path to join and are ignored.
void PhotoshopPathBuilder::addKnot(const unsigned char* p) {
    if (!mPath) return;
    Knot knot;
    knot.preceding = {coordinate(p, mVerticalScale), coordinate(p + 4, mHorizontalScale)};
    knot.anchor = {coordinate(p + 8, mVerticalScale), coordinate(p + 12, mHorizontalScale)};
    knot.leaving = {coordinate(p + 16, mVerticalScale), coordinate(p + 20, mHorizontalScale)};
    if (!mFirst) {
        VelDB::patlin(mPath, knot.anchor.a, knot.anchor.b);
        mFirst = knot;
    } else {
        VelDB::patbez(mPath, mLast.leaving.a, mLast.leaving.b, knot.preceding.a, knot.preceding.b,
                      knot.anchor.a, knot.anchor.b);
    }
    mLast = knot;
}

// Every subpath is closed back to its first knot; one without knots is dropped.
void PhotoshopPathBuilder::closeSubpath() {
    if (!mPath) return;
    if (!mFirst) {
        VelDB::objrem(mPath);
    } else {
        VelDB::patbez(mPath, mLast.leaving.a, mLast.leaving.b, mFirst->preceding.a,
                      mFirst->preceding.b, mFirst->anchor.a, mFirst->anchor.b);
        VelDB::patendclo(mPath);
        VelDB::objins(mCompound, mPath);
        ++mSubpaths;
    }
    mPath = nullptr;
    mFirst.reset();
}

int PhotoshopPathBuilder::coordinate(const unsigned char* p, double scale) const {
    const auto fixed =
        static_cast<std::int32_t>((std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) |
                                  (std::uint32_t{p[2]} << 8) | p[3]);
    const double value = std::trunc(fixed * scale + 5000000.0);
    if (!(value == value)) return 0;
    return static_cast<int>(std::clamp(value, -2147483648.0, 2147483647.0));
}

}  // namespace QuillonCore
