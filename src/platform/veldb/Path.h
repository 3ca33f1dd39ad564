#pragma once
// A path: one or more contours of line and Bezier segments in integer
// coordinates. The document model does not give the coordinates a meaning;
// raster code passes the vertical coordinate first (see patlin).
//
// Building: patbeg() makes an empty path; the first patlin/patbez of a
// contour sets its start point (for patbez, the end point of the call); each
// further call adds a segment; patend/patendclo end the contour (open or
// closed). A call after the end starts the next contour of the same path.

#include <vector>

#include "platform/veldb/Object.h"

namespace VelDB {

struct Point {
    int a = 0;  // first coordinate (vertical in raster code)
    int b = 0;  // second coordinate
    bool operator==(const Point&) const = default;
};

struct Segment {
    Point control1;  // equal to end for lines and for a contour's start
    Point control2;
    Point end;
    bool curve = false;
};

struct Contour {
    Point start;
    std::vector<Segment> segments;
    bool closed = false;
    bool ended = false;
};

class Path : public Object {
public:
    unsigned kindBits() const override { return kKindPath; }
    Object* clone() const override;
    VelSys::ql_rectangle<int> getBoundingBox() const override;

    const std::vector<Contour>& contours() const { return mContours; }
    // Sum of the segment lengths (curves measured along their control polygon).
    double getLength() const;

private:
    friend Path* patbeg();
    friend void patlin(Path*, int, int);
    friend void patbez(Path*, int, int, int, int, int, int);
    friend void patend(Path*);
    friend void patendclo(Path*);
    Contour& openContour();
    std::vector<Contour> mContours;
};

Path* patbeg();
void patlin(Path* path, int a, int b);
void patbez(Path* path, int a1, int b1, int a2, int b2, int a3, int b3);
void patend(Path* path);
void patendclo(Path* path);
Path* patdup(const Path* path);

}  // namespace VelDB
