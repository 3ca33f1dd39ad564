#include "platform/veldb/scan.h"

#include <algorithm>

#include "platform/veldb/Sequence.h"

namespace VelDB {

namespace {

void collectPaths(const Object* object, std::vector<const Path*>& out) {
    if (const auto* path = dynamic_cast<const Path*>(object)) {
        out.push_back(path);
    } else if (const auto* sequence = dynamic_cast<const Sequence*>(object)) {
        for (const Object* member : sequence->members()) collectPaths(member, out);
    }
}

// The contour as a list of points-with-segments, closing line included.
std::vector<Segment> forward(const Contour& c) {
    std::vector<Segment> out;
    out.push_back({c.start, c.start, c.start, false});
    out.insert(out.end(), c.segments.begin(), c.segments.end());
    if (c.closed && !(out.back().end == c.start)) out.push_back({c.start, c.start, c.start, false});
    return out;
}

std::vector<Segment> backward(const Contour& c) {
    const std::vector<Segment> f = forward(c);
    std::vector<Segment> out;
    const Point last = f.back().end;
    out.push_back({last, last, last, false});
    for (std::size_t i = f.size() - 1; i > 0; --i) {
        const Segment& s = f[i];
        const Point to = f[i - 1].end;
        out.push_back(s.curve ? Segment{s.control2, s.control1, to, true} : Segment{to, to, to, false});
    }
    return out;
}

}  // namespace

void scan::addPath(const Path& path, bool reverse) {
    std::vector<Contour> contours = path.contours();
    if (reverse) std::reverse(contours.begin(), contours.end());
    for (const Contour& c : contours) {
        const std::vector<Segment> segments = reverse ? backward(c) : forward(c);
        for (std::size_t i = 0; i < segments.size(); ++i) mItems.push_back({segments[i], i == 0});
    }
}

int scan::scabeg(const Object* object, int reverse, int /*start*/) {
    mItems.clear();
    mNext = 0;
    std::vector<const Path*> paths;
    collectPaths(object, paths);
    if (reverse) std::reverse(paths.begin(), paths.end());
    for (const Path* p : paths) addPath(*p, reverse != 0);
    return mItems.empty() ? -1 : 0;
}

bool scan::scanex(Point* control1, Point* control2, Point* end, bool* curve, bool* contourStart) {
    if (mNext >= mItems.size()) return false;
    const Item& item = mItems[mNext++];
    if (control1) *control1 = item.segment.control1;
    if (control2) *control2 = item.segment.control2;
    if (end) *end = item.segment.end;
    if (curve) *curve = item.segment.curve;
    if (contourStart) *contourStart = item.contourStart;
    return true;
}

bool scan::scanex(int* a, int* b) {
    Point end;
    if (!scanex(nullptr, nullptr, &end, nullptr)) return false;
    if (a) *a = end.a;
    if (b) *b = end.b;
    return true;
}

void scan::scaend() {
    mItems.clear();
    mNext = 0;
}

}  // namespace VelDB
