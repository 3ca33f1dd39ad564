#include "raster/output/PhotoshopPathRecords.h"

#include <cmath>

#include "platform/veldb/scan.h"
#include "platform/velsys/Arithmetic.h"

namespace QuillonCore {

namespace {

constexpr std::uint16_t kClosedSubpathLength = 0;
constexpr std::uint16_t kClosedSubpathKnotUnlinked = 2;
constexpr std::uint16_t kPathFillRule = 6;
constexpr std::size_t kRecordBody = 24;

// Readers take the integer part of the scaled value, so a point is stored at
// the middle of its document unit: it then reads back as the same unit.
constexpr double kUnitMiddle = 0.5;

// The scanner's items, split into contours (each begins with its start point).
std::vector<std::vector<VelDB::Segment>> contoursOf(const VelDB::Object& object) {
    std::vector<std::vector<VelDB::Segment>> contours;
    VelDB::scan scanner;
    if (scanner.scabeg(&object, 0, -1) != 0) return contours;
    VelDB::Segment s;
    bool first = false;
    while (scanner.scanex(&s.control1, &s.control2, &s.end, &s.curve, &first)) {
        if (first || contours.empty()) contours.emplace_back();
        contours.back().push_back(s);
    }
    scanner.scaend();
    return contours;
}

}  // namespace

bool PhotoshopPathRecords::Frame::valid() const {
    return height > 0 && width > 0 && unitsPerInch > 0 && std::isfinite(pixelsPerInch) &&
           pixelsPerInch > 0;
}

std::int32_t PhotoshopPathRecords::ToFixed(int coordinate, int origin, int extent,
                                           const Frame& frame) {
    const double fraction = (static_cast<double>(coordinate) - origin + kUnitMiddle) *
                            frame.pixelsPerInch /
                            (static_cast<double>(extent) * frame.unitsPerInch);
    return VelSys::iround(fraction * 16777216.0);
}

std::vector<PhotoshopPathRecords::Knot> PhotoshopPathRecords::Knots(
    const std::vector<VelDB::Segment>& contour) {
    std::vector<Knot> knots;
    const std::size_t segments = contour.size() - 1;
    if (segments == 0) return knots;
    const VelDB::Point start = contour.front().end;
    const bool returns = contour.back().end == start;
    const std::size_t count = returns ? segments : segments + 1;
    // Segment i runs from contour[i - 1].end to contour[i].end.
    auto leavingOf = [&](std::size_t i) {
        return contour[i].curve ? contour[i].control1 : contour[i - 1].end;
    };
    auto precedingOf = [&](std::size_t i) {
        return contour[i].curve ? contour[i].control2 : contour[i].end;
    };
    for (std::size_t k = 0; k < count; ++k) {
        Knot knot;
        knot.anchor = contour[k].end;
        knot.preceding = k > 0 ? precedingOf(k) : (returns ? precedingOf(segments) : start);
        knot.leaving = k < segments ? leavingOf(k + 1) : knot.anchor;
        knots.push_back(knot);
    }
    return knots;
}

void PhotoshopPathRecords::PutPoint(BigEndianBuffer& out, const VelDB::Point& point) const {
    out.Put32(
        static_cast<std::uint32_t>(ToFixed(point.a, mFrame.verticalOrigin, mFrame.height, mFrame)));
    out.Put32(static_cast<std::uint32_t>(
        ToFixed(point.b, mFrame.horizontalOrigin, mFrame.width, mFrame)));
}

void PhotoshopPathRecords::PutContour(BigEndianBuffer& out,
                                      const std::vector<VelDB::Segment>& contour) const {
    const std::vector<Knot> knots = Knots(contour);
    if (knots.empty() || knots.size() > 0xFFFF) return;
    out.Put16(kClosedSubpathLength);
    out.Put16(static_cast<std::uint16_t>(knots.size()));
    out.PutZeros(kRecordBody - 2);
    for (const Knot& knot : knots) {
        out.Put16(kClosedSubpathKnotUnlinked);
        PutPoint(out, knot.preceding);
        PutPoint(out, knot.anchor);
        PutPoint(out, knot.leaving);
    }
}

std::vector<unsigned char> PhotoshopPathRecords::Build(const VelDB::Object& object) const {
    BigEndianBuffer out;
    if (!mFrame.valid()) return out.take();
    out.Put16(kPathFillRule);
    out.PutZeros(kRecordBody);
    for (const auto& contour : contoursOf(object)) PutContour(out, contour);
    return out.take();
}

}  // namespace QuillonCore
