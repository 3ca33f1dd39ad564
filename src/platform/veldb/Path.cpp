#include "platform/veldb/Path.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace VelDB {

Object* Path::clone() const {
    auto* copy = new Path();
    copy->mContours = mContours;
    copy->setFlags(flags());
    return copy;
}

VelSys::ql_rectangle<int> Path::getBoundingBox() const {
    bool any = false;
    VelSys::ql_rectangle<int> box{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
    auto add = [&](const Point& p) {
        any = true;
        box.lowX = std::min(box.lowX, p.a), box.lowY = std::min(box.lowY, p.b);
        box.highX = std::max(box.highX, p.a), box.highY = std::max(box.highY, p.b);
    };
    for (const Contour& c : mContours) {
        add(c.start);
        for (const Segment& s : c.segments) {
            add(s.control1), add(s.control2), add(s.end);
        }
    }
    return any ? box : VelSys::ql_rectangle<int>{};
}

double Path::getLength() const {
    double total = 0;
    for (const Contour& c : mContours) {
        Point from = c.start;
        for (const Segment& s : c.segments) {
            const Point* pts[3] = {&s.control1, &s.control2, &s.end};
            const int n = s.curve ? 3 : 1;
            for (int i = 3 - n; i < 3; ++i) {
                total += std::hypot(double(pts[i]->a) - from.a, double(pts[i]->b) - from.b);
                from = *pts[i];
            }
        }
    }
    return total;
}

Contour& Path::openContour() {
    if (mContours.empty() || mContours.back().ended) mContours.emplace_back();
    return mContours.back();
}

Path* patbeg() { return new Path(); }

namespace {
bool startsContour(const Contour& c, bool fresh) { return fresh && c.segments.empty(); }
}  // namespace

void patlin(Path* path, int a, int b) {
    if (!path) return;
    const bool fresh = path->mContours.empty() || path->mContours.back().ended;
    Contour& c = path->openContour();
    const Point p{a, b};
    if (startsContour(c, fresh)) {
        c.start = p;
        return;
    }
    c.segments.push_back({p, p, p, false});
}

void patbez(Path* path, int a1, int b1, int a2, int b2, int a3, int b3) {
    if (!path) return;
    const bool fresh = path->mContours.empty() || path->mContours.back().ended;
    Contour& c = path->openContour();
    if (startsContour(c, fresh)) {
        c.start = {a3, b3};
        return;
    }
    c.segments.push_back({{a1, b1}, {a2, b2}, {a3, b3}, true});
}

void patend(Path* path) {
    if (path && !path->mContours.empty()) path->mContours.back().ended = true;
}

void patendclo(Path* path) {
    if (path && !path->mContours.empty()) {
        path->mContours.back().ended = true;
        path->mContours.back().closed = true;
    }
}

Path* patdup(const Path* path) { return path ? static_cast<Path*>(path->clone()) : nullptr; }

}  // namespace VelDB
