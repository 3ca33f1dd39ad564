#pragma once
// A document-model path as Photoshop path records: a fill rule record, then
// for each contour with at least one segment a closed subpath length record
// and its knots (closed subpath, unlinked). Points are 8.24 fixed-point
// fractions of the image height (vertical, first) and width.
//
// Knots start at the contour's start point, so a reader that begins each
// contour at the first knot gets the same contour back. A contour that
// returns to its start has one knot per segment; an open one gets one more
// (its end point), with a straight closing edge. Lines get corner knots (the
// control points on the anchors).

#include <cstdint>
#include <vector>

#include "platform/veldb/Path.h"
#include "raster/output/BigEndianBuffer.h"

namespace VelDB {
class Object;
}

namespace QuillonCore {

class PhotoshopPathRecords {
  public:
    // Document units to image fractions: extent in pixels, resolution in
    // pixels per inch, unitsPerInch of the document model.
    struct Frame {
        int height = 0;
        int width = 0;
        double pixelsPerInch = 0;
        int unitsPerInch = 0;
        int verticalOrigin = 0;
        int horizontalOrigin = 0;
        bool valid() const;
    };

    explicit PhotoshopPathRecords(const Frame& frame) : mFrame(frame) {}

    // The records of every path in the object (a path, or the paths of a
    // compound or group, recursively; other objects are skipped).
    std::vector<unsigned char> Build(const VelDB::Object& object) const;

    // The fixed-point form of a coordinate.
    static std::int32_t ToFixed(int coordinate, int origin, int extent, const Frame& frame);

  private:
    struct Knot {
        VelDB::Point preceding, anchor, leaving;
    };
    static std::vector<Knot> Knots(const std::vector<VelDB::Segment>& contour);
    void PutPoint(BigEndianBuffer& out, const VelDB::Point& point) const;
    void PutContour(BigEndianBuffer& out, const std::vector<VelDB::Segment>& contour) const;

    Frame mFrame;
};

}  // namespace QuillonCore
