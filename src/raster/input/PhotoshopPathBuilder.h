#pragma once
// Turns the records of a Photoshop saved path (26 bytes each: a selector and
// three points in 8.24 fixed point, vertical first) into a compound of
// closed document-model paths.

#include <optional>
#include <span>

#include "platform/veldb/Path.h"
#include "platform/veldb/Sequence.h"

namespace QuillonCore {

class PhotoshopPathBuilder {
  public:
    // Fraction-to-unit scales for the two axes.
    PhotoshopPathBuilder(double verticalScale, double horizontalScale)
        : mVerticalScale(verticalScale), mHorizontalScale(horizontalScale) {}

    // A new compound, or null when the data holds no knot of any subpath.
    VelDB::Object* build(std::span<const unsigned char> records);

  private:
    struct Knot {
        VelDB::Point preceding, anchor, leaving;
    };

    void beginSubpath();
    void addKnot(const unsigned char* record);
    void closeSubpath();
    int coordinate(const unsigned char* p, double scale) const;

    double mVerticalScale;
    double mHorizontalScale;
    VelDB::Sequence* mCompound = nullptr;
    VelDB::Path* mPath = nullptr;
    std::optional<Knot> mFirst;
    Knot mLast;
    int mSubpaths = 0;
};

}  // namespace QuillonCore
