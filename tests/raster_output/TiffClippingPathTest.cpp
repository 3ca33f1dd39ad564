// The clipping path goes into the Photoshop block as a saved path with a
// clipping path name resource naming it; decoding its knots the way the TIFF
// reader does gives back the very same contours.

#include <gtest/gtest.h>

#include "platform/veldb/DocumentSettings.h"
#include "platform/veldb/Path.h"
#include "platform/veldb/Sequence.h"
#include "raster_output/LibTiffImage.h"
#include "raster_output/WrittenTiff.h"

using namespace QuillonCore;
using namespace QuillonTest;
using VelDB::Point;

namespace {

using Bytes = std::vector<unsigned char>;
constexpr int kReaderOrigin = 5000000;

std::uint32_t be32(const Bytes& b, std::size_t at) {
    return static_cast<std::uint32_t>(b[at]) << 24 | b[at + 1] << 16 | b[at + 2] << 8 | b[at + 3];
}
std::uint16_t be16(const Bytes& b, std::size_t at) {
    return static_cast<std::uint16_t>(b[at] << 8 | b[at + 1]);
}

// id -> data of each resource of a Photoshop block.
std::map<int, Bytes> resources(const Bytes& block) {
    std::map<int, Bytes> out;
    for (std::size_t at = 0; at + 12 <= block.size();) {
        EXPECT_EQ(std::string(block.begin() + at, block.begin() + at + 4), "8BIM");
        const int id = be16(block, at + 4);
        EXPECT_EQ(be16(block, at + 6), 0) << "empty name";
        const std::uint32_t length = be32(block, at + 8);
        out[id] = Bytes(block.begin() + at + 12, block.begin() + at + 12 + length);
        at += 12 + length + length % 2;
    }
    return out;
}

struct Knot {
    Point preceding, anchor, leaving;
    bool operator==(const Knot&) const = default;
};
using Subpath = std::vector<Knot>;

// The conversion of the TIFF reader: the integer part of value x scale plus
// its origin, scale = units per inch x extent x 2^-24 / resolution.
std::vector<Subpath> readerSubpaths(const Bytes& records, int height, int width,
                                    double resolution) {
    const double vertical = VelDB::getppi() * height / 16777216.0 / resolution;
    const double horizontal = VelDB::getppi() * width / 16777216.0 / resolution;
    auto point = [&](std::size_t at) {
        return Point{
            static_cast<int>(static_cast<std::int32_t>(be32(records, at)) * vertical +
                             kReaderOrigin),
            static_cast<int>(static_cast<std::int32_t>(be32(records, at + 4)) * horizontal +
                             kReaderOrigin)};
    };
    std::vector<Subpath> out;
    EXPECT_EQ(records.size() % 26, 0u);
    EXPECT_EQ(be16(records, 0), 6) << "fill rule record first";
    for (std::size_t at = 26; at + 26 <= records.size(); at += 26) {
        const int selector = be16(records, at);
        if (selector == 0) {
            out.emplace_back();
            out.back().reserve(be16(records, at + 2));
        } else {
            EXPECT_EQ(selector, 2);
            out.back().push_back({point(at + 2), point(at + 10), point(at + 18)});
        }
    }
    for (const Subpath& s : out)
        EXPECT_EQ(s.size(), s.capacity()) << "knot count of the length record";
    return out;
}

std::vector<Subpath> writtenSubpaths(const VelDB::Object& path, int height, int width,
                                     int resolution) {
    TiffSpec spec;
    spec.width = static_cast<unsigned long>(width);
    spec.height = static_cast<unsigned long>(height);
    spec.resolutionNumerator = static_cast<unsigned long>(resolution);
    spec.clippingPath = &path;
    spec.verticalOrigin = spec.horizontalOrigin = kReaderOrigin;
    const Bytes file = WrittenTiff::Write(spec, PatternRows(spec.width, spec.height)).bytes;
    const LibTiffImage image = LibTiffImage::Read(file);
    EXPECT_TRUE(image.diagnostics.empty());
    const auto found = resources(image.photoshop);
    EXPECT_EQ(found.count(2999), 1u);
    EXPECT_EQ(found.count(2999) ? found.at(2999) : Bytes{}, (Bytes{0, 0, 0}))
        << "names the empty-named path";
    if (!found.count(2000)) return {};
    return readerSubpaths(found.at(2000), height, width, resolution);
}

Point at(int a, int b) {
    return {kReaderOrigin + a, kReaderOrigin + b};
}

// A contour as the reader builds it: patlin on the first anchor, a curve to
// every further anchor, a closing curve back to the first.
void addReaderContour(VelDB::Path* path, const Subpath& knots) {
    VelDB::patlin(path, knots[0].anchor.a, knots[0].anchor.b);
    for (std::size_t i = 1; i <= knots.size(); ++i) {
        const Knot& from = knots[i - 1];
        const Knot& to = knots[i % knots.size()];
        VelDB::patbez(path, from.leaving.a, from.leaving.b, to.preceding.a, to.preceding.b,
                      to.anchor.a, to.anchor.b);
    }
    VelDB::patendclo(path);
}

}  // namespace

TEST(TiffClippingPath, ReaderBuiltContoursComeBackExactly) {
    VelDB::setppi(7200);
    const std::vector<Subpath> contours = {
        {{at(10, 10), at(0, 0), at(-7, 13)},
         {at(3000, 5), at(3100, 100), at(3300, 101)},
         {at(6000, 4000), at(7199, 4799), at(6999, 4811)}},
        {{at(1, 2), at(1, 2), at(1, 2)}, {at(500, 501), at(502, 503), at(504, 505)}},
    };
    for (const auto& [height, width, resolution] :
         {std::tuple{300, 200, 300}, std::tuple{2000, 1000, 72}, std::tuple{40, 30, 600}}) {
        SCOPED_TRACE(height);
        VelDB::Sequence* compound = VelDB::comnew();
        VelDB::Path* path = VelDB::patbeg();
        for (const Subpath& contour : contours) addReaderContour(path, contour);
        VelDB::objins(compound, path);
        EXPECT_EQ(writtenSubpaths(*compound, height, width, resolution), contours);
        VelDB::objrem(compound);
    }
}

// Lines get corner knots; a closed contour that does not return to its
// start gets its closing line; an open one keeps its end as a knot; paths
// without segments and members of nested compounds are handled.
TEST(TiffClippingPath, LinesOpenContoursEmptyPathsAndNestedCompounds) {
    VelDB::setppi(7200);
    VelDB::Sequence* outer = VelDB::comnew();
    VelDB::Sequence* inner = VelDB::comnew();
    VelDB::Path* triangle = VelDB::patbeg();
    VelDB::patlin(triangle, kReaderOrigin, kReaderOrigin);
    VelDB::patlin(triangle, kReaderOrigin + 100, kReaderOrigin);
    VelDB::patlin(triangle, kReaderOrigin + 100, kReaderOrigin + 50);
    VelDB::patendclo(triangle);
    VelDB::Path* open = VelDB::patbeg();
    VelDB::patlin(open, kReaderOrigin + 1, kReaderOrigin + 1);
    VelDB::patbez(open, kReaderOrigin + 2, kReaderOrigin + 3, kReaderOrigin + 4, kReaderOrigin + 5,
                  kReaderOrigin + 6, kReaderOrigin + 7);
    VelDB::patend(open);
    VelDB::Path* empty = VelDB::patbeg();
    VelDB::patlin(empty, 0, 0);
    VelDB::patend(empty);
    VelDB::objins(inner, open);
    VelDB::objins(outer, triangle);
    VelDB::objins(outer, empty);
    VelDB::objins(outer, inner);

    const std::vector<Subpath> expected = {
        {{at(0, 0), at(0, 0), at(0, 0)},
         {at(100, 0), at(100, 0), at(100, 0)},
         {at(100, 50), at(100, 50), at(100, 50)}},
        {{at(1, 1), at(1, 1), at(2, 3)}, {at(4, 5), at(6, 7), at(6, 7)}},
    };
    EXPECT_EQ(writtenSubpaths(*outer, 300, 200, 300), expected);
    VelDB::objrem(outer);
}

TEST(TiffClippingPath, NoPathBlockWithoutAResolution) {
    VelDB::Path* path = VelDB::patbeg();
    VelDB::patlin(path, 0, 0);
    VelDB::patlin(path, 10, 10);
    VelDB::patendclo(path);
    TiffSpec spec;
    spec.resolutionDenominator = 0;
    spec.clippingPath = path;
    const LibTiffImage image = LibTiffImage::Read(WrittenTiff::Write(spec, {Bytes{1}}).bytes);
    EXPECT_TRUE(image.photoshop.empty());
    VelDB::objrem(path);
}
