// What the writer produces, read back by the library's own TIFF reader: the
// same rows (all samples), separations, channel names, resolution and
// clipping path.

#include <gtest/gtest.h>

#include "platform/veldb/DocumentSettings.h"
#include "platform/veldb/Path.h"
#include "platform/veldb/Sequence.h"
#include "platform/veldb/scan.h"
#include "platform/velsys/fil.h"
#include "raster/input/tifreatyp.h"
#include "raster_output/WrittenTiff.h"

using namespace QuillonCore;
using namespace QuillonTest;

namespace {

using Rows = std::vector<std::vector<unsigned char>>;

struct ReadBack {
    int result = -1, numerator = 0, denominator = 0, rows = 0, columns = 0;
    Rows pixels;
    std::vector<std::string> channelNames;
    std::unique_ptr<ColorspaceInfo> colorspace;
    std::vector<VelDB::Segment> pathItems;
    std::unique_ptr<VelDB::Object, void (*)(VelDB::Object*)> clippingPath{nullptr, VelDB::objrem};
};

ReadBack readBack(const std::vector<unsigned char>& bytes, int samples) {
    VelSys::fil file;
    file.openMemory(bytes);
    tifreatyp reader(&file);
    ReadBack out;
    out.result = reader.pixreaini(&out.numerator, &out.denominator, &out.rows, &out.columns, -4, 0);
    if (out.result != 0) return out;
    std::vector<unsigned char> row(static_cast<std::size_t>(out.columns * samples));
    while (reader.pixrealin(row.data(), static_cast<int>(row.size())) == 1)
        out.pixels.push_back(row);
    for (int i = 0; i < samples; ++i) {
        std::string name;
        reader.getChannelName(i, name);
        out.channelNames.push_back(name);
    }
    if (const ColorspaceInfo* c = reader.getColorspaceInfo())
        out.colorspace = std::make_unique<ColorspaceInfo>(*c);
    VelDB::scan scanner;
    if (reader.GetClippingPath() && scanner.scabeg(reader.GetClippingPath(), 0, -1) == 0) {
        VelDB::Segment s;
        while (scanner.scanex(&s.control1, &s.control2, &s.end, &s.curve))
            out.pathItems.push_back(s);
        out.clippingPath.reset(VelDB::objdup(reader.GetClippingPath()));
    }
    reader.pixreaend();
    return out;
}

ColorspaceInfo withSeparations(int interpretation, std::initializer_list<const char*> names) {
    ColorspaceInfo colorspace(interpretation);
    unsigned char tint = 0;
    for (const char* name : names) {
        SeparationInfo s;
        s.setName(name);
        s.mC = tint;
        s.mY = static_cast<unsigned char>(255 - tint);
        tint = static_cast<unsigned char>(tint + 51);
        colorspace.addSeparation(s);
    }
    return colorspace;
}

}  // namespace

// The reader serves 8-bit samples of gray, RGB and CMYK in every compression
// (PackBits RGB excepted: the reader has no converter for it).
TEST(TiffWriterRoundTrip, RowsSeparationsNamesAndResolutionComeBack) {
    struct Case {
        const char* what;
        unsigned long samples;
        ColorspaceInfo colorspace;
    };
    const Case cases[] = {
        {"gray", 1, ColorspaceInfo(1)},
        {"rgb", 3, ColorspaceInfo(2)},
        {"cmyk", 4, ColorspaceInfo(5)},
        {"cmyk and two spots", 6,
         withSeparations(5, {"Cyan", "Magenta", "Yellow", "Black", "Gold", "Silber"})},
        {"gray and two extra channels", 3, withSeparations(1, {"Black", "Mask", "Varnish"})},
    };
    for (const Case& c : cases) {
        for (tifcompression compression :
             {kTifCompressionNone, kTifCompressionLzw, kTifCompressionPackBits}) {
            if (c.colorspace.interpretation() == 2 && compression == kTifCompressionPackBits)
                continue;
            for (auto order : {TiffOutStream::kLittleEndian, TiffOutStream::kBigEndian}) {
                SCOPED_TRACE(std::string(c.what) + " " + std::to_string(compression) + " " +
                             std::to_string(order));
                TiffSpec spec;
                spec.width = 23;
                spec.height = 5;
                spec.samples = c.samples;
                spec.colorspace = c.colorspace;
                spec.compression = compression;
                spec.order = order;
                spec.resolutionNumerator = 600;
                const Rows rows = PatternRows(spec.width * spec.samples, spec.height, 11);
                const ReadBack back =
                    readBack(WrittenTiff::Write(spec, rows).bytes, static_cast<int>(c.samples));
                ASSERT_EQ(back.result, 0);
                EXPECT_EQ(back.numerator, 600);
                EXPECT_EQ(back.denominator, 1);
                EXPECT_EQ(back.pixels, rows);
                ASSERT_EQ(back.colorspace != nullptr, c.colorspace.hasSeparationInfo());
                for (int i = 0; back.colorspace && i < c.colorspace.separationCount(); ++i) {
                    const SeparationInfo* written = c.colorspace.getSeparationInfoAt(i);
                    const SeparationInfo* read = back.colorspace->getSeparationInfoAt(i);
                    ASSERT_NE(read, nullptr);
                    EXPECT_EQ(read->name(), written->name());
                    EXPECT_EQ(
                        std::vector<int>({read->mC, read->mM, read->mY, read->mK}),
                        std::vector<int>({written->mC, written->mM, written->mY, written->mK}));
                }
                const int colours = c.colorspace.interpretation() == 5   ? 4
                                    : c.colorspace.interpretation() == 2 ? 3
                                                                         : 1;
                for (int i = colours; i < c.colorspace.separationCount(); ++i)
                    EXPECT_EQ(back.channelNames[static_cast<std::size_t>(i)],
                              c.colorspace.getSeparationInfoAt(i)->name());
            }
        }
    }
}

// The clipping path of a file read by the reader, written and read again,
// is the same path item for item; the channel names survive beside it.
TEST(TiffWriterRoundTrip, ClippingPathSurvivesExactly) {
    VelDB::setppi(7200);
    VelDB::Path* path = VelDB::patbeg();
    VelDB::patlin(path, 5000000, 5000000);
    VelDB::patbez(path, 5000100, 5000007, 5000900, 5000013, 5001000, 5000500);
    VelDB::patlin(path, 5000333, 5000999);
    VelDB::patendclo(path);
    VelDB::patlin(path, 5000010, 5000010);
    VelDB::patlin(path, 5000020, 5000010);
    VelDB::patlin(path, 5000020, 5000020);
    VelDB::patendclo(path);

    TiffSpec spec;
    spec.width = 250;
    spec.height = 300;
    spec.samples = 2;
    spec.colorspace = withSeparations(1, {"Black", "Cut contour"});
    spec.compression = kTifCompressionLzw;
    spec.clippingPath = path;
    spec.verticalOrigin = spec.horizontalOrigin = 5000000;
    const Rows rows = PatternRows(500, 300);
    const ReadBack first = readBack(WrittenTiff::Write(spec, rows).bytes, 2);
    ASSERT_EQ(first.result, 0);
    EXPECT_EQ(first.pixels, rows);
    EXPECT_EQ(first.channelNames[1], "Cut contour");
    ASSERT_FALSE(first.pathItems.empty());

    // Written again from the reader's own path, it comes back identical.
    VelDB::Object* again = first.clippingPath.get();
    spec.clippingPath = again;
    const ReadBack second = readBack(WrittenTiff::Write(spec, rows).bytes, 2);
    ASSERT_EQ(second.pathItems.size(), first.pathItems.size());
    for (std::size_t i = 0; i < first.pathItems.size(); ++i) {
        EXPECT_EQ(second.pathItems[i].end, first.pathItems[i].end) << i;
        EXPECT_EQ(second.pathItems[i].control1, first.pathItems[i].control1) << i;
        EXPECT_EQ(second.pathItems[i].control2, first.pathItems[i].control2) << i;
    }
    // The first generation already has the original anchors.
    EXPECT_EQ(first.pathItems[0].end, (VelDB::Point{5000000, 5000000}));
    EXPECT_EQ(first.pathItems[2].end, (VelDB::Point{5000333, 5000999}));
    VelDB::objrem(path);
}
