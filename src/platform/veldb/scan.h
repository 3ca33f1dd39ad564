#pragma once
// The segment scanner: walks the segments of a path, or of every path of a
// container in member order.
//
// Each contour is reported as its start point first (curve false, both
// control points equal to the point, contourStart true), then each segment
// in order. A closed contour whose last point differs from its start reports
// one more line back to the start; a closed contour that already ends at its
// start reports nothing extra. Curves are not flattened.
//
// scabeg(object, reverse, 0 / -1): reverse nonzero walks every contour from
// its end to its start (and the contours in reverse order); the third
// argument is kept for the callers' signature: -1 and 0 both start at the
// first point.

#include <vector>

#include "platform/veldb/Path.h"

namespace VelDB {

class scan {
public:
    // 0 when there is something to walk.
    int scabeg(const Object* object, int reverse, int start);
    // The next item; false after the last.
    bool scanex(Point* control1, Point* control2, Point* end, bool* curve, bool* contourStart = nullptr);
    // Point form: the end point of the next item.
    bool scanex(int* a, int* b);
    void scaend();

private:
    struct Item {
        Segment segment;
        bool contourStart;
    };
    void addPath(const Path& path, bool reverse);
    std::vector<Item> mItems;
    std::size_t mNext = 0;
};

}  // namespace VelDB
