// The TIFF reader's directory and metadata parsing, on small files built here.

#include <gtest/gtest.h>

#include "MemoryTiff.h"
#include "TiffBuilder.h"
#include "platform/veldb/DocumentSettings.h"
#include "platform/veldb/Path.h"
#include "platform/veldb/Sequence.h"

using QuillonTest::MemoryTiff;
using QuillonTest::TiffBuilder;

namespace {

const std::vector<std::string> kFormatError = {"ERROR IN FILE FORMAT"};

// A 2 x 1 8-bit gray image (BlackIsZero) with its one strip.
TiffBuilder grayImage(bool bigEndian = false) {
    TiffBuilder b(bigEndian);
    b.image(2, 1, 1, 8, 1, 1, {{10, 200}});
    return b;
}

TEST(TiffStructure, InlineValuesAreTakenFromTheEntryInTheFileByteOrder) {
    for (bool bigEndian : {false, true}) {
        TiffBuilder b(bigEndian);
        b.shorts(256, {3})
            .bytes(257, 1, {2})
            .shorts(258, {8})
            .shorts(262, {1})
            .strips({{1, 2, 3, 4, 5, 6}});
        MemoryTiff tiff(b.build(), -3);
        EXPECT_EQ(tiff.result, 2);
        EXPECT_EQ(tiff.columns, 3);
        EXPECT_EQ(tiff.rows, 2);
        tiff.row(3);
        EXPECT_EQ(tiff.row(3), (std::vector<unsigned char>{4, 5, 6}));
    }
}

struct ResolutionCase {
    std::uint32_t xn, xd, yn, yd;
    bool centimetre;
    int result, numerator, denominator;
    bool told;
};

TEST(TiffStructure, Resolution) {
    const ResolutionCase cases[] = {
        {300, 1, 302, 1, false, 0, 300, 1, false},  // within 1 %
        {300, 1, 600, 1, false, 0, 600, 1, true},   // the larger one is kept
        {600, 1, 300, 1, false, 0, 600, 1, true},
        {0, 1, 72, 1, false, 0, 72, 1, false},      // a zero part counts as absent
        {72, 0, 0, 0, false, 2, 300, 1, false},     // none left: 300/1, result 2
        {28, 1, 28, 1, true, 0, 7112, 100, false},  // per centimetre
        {1, 100000000, 1, 100000000, true, 0, 31, 1250000000, false},  // no 32-bit wrap
    };
    for (const auto& c : cases) {
        auto b = grayImage();
        b.rational(282, c.xn, c.xd).rational(283, c.yn, c.yd);
        if (c.centimetre) b.shorts(296, {3});
        MemoryTiff tiff(b.build(), -3);
        SCOPED_TRACE(std::to_string(c.xn) + "/" + std::to_string(c.xd));
        EXPECT_EQ(tiff.result, c.result);
        EXPECT_EQ(tiff.numerator, c.numerator);
        EXPECT_EQ(tiff.denominator, c.denominator);
        EXPECT_EQ(tiff.said().size(), c.told ? 1u : 0u);
    }
}

// Parts too large for 31 bits are scaled down together; the ratio stays.
TEST(TiffStructure, LargeResolutionPartsAreScaledTogether) {
    auto b = grayImage();
    b.rational(282, 4000000000u, 3000000000u)
        .rational(283, 4000000000u, 3000000000u)
        .shorts(296, {3});
    MemoryTiff tiff(b.build(), -3);
    EXPECT_EQ(tiff.result, 0);
    EXPECT_GT(tiff.numerator, 0);
    EXPECT_GT(tiff.denominator, 0);
    EXPECT_NEAR(static_cast<double>(tiff.numerator) / tiff.denominator, 4.0 / 3.0 * 2.54, 1e-6);
}

// Sizes and counts that would overflow or reach outside the file are refused
// before anything is allocated for them.
TEST(TiffStructure, ImpossibleSizesAreFormatErrors) {
    std::vector<TiffBuilder> cases;
    cases.emplace_back().image(0, 1, 1, 8, 1, 1, {{0}});
    cases.emplace_back().image(1, 0, 1, 8, 1, 1, {{0}});
    cases.emplace_back().image(1, 1, 69, 8, 1, 1, {{0}});
    cases.emplace_back().image(1, 1, 1, 8, 1, 1, {{0}}).shorts(277, {0});
    cases.emplace_back().image(1, 1, 1, 8, 1, 1, {{0}}).longs(256, {0x80000000u});
    cases.emplace_back().image(1, 1, 1, 8, 1, 1, {{0}}).longs(256, {0x20000000u});
    // 3 rows in strips of 1, but one strip offset.
    cases.emplace_back().image(1, 3, 1, 8, 1, 1, {{0, 0, 0}}).longs(278, {1});
    // A count whose bytes would lie past the end of the file, or wrap in 32 bits.
    cases.emplace_back().image(1, 1, 1, 8, 1, 1, {{0}}).raw(34032, 3, 0x40000000u, 8);
    cases.emplace_back().image(1, 1, 1, 8, 1, 1, {{0}}).raw(34675, 7, 0xFFFFFFFFu, 8);
    cases.emplace_back().image(1, 1, 1, 8, 1, 1, {{0}}).raw(273, 4, 0x40000001u, 8);
    // A single-valued tag with two values; a SHORT tag of type RATIONAL.
    cases.emplace_back().image(1, 1, 1, 8, 1, 1, {{0}}).shorts(284, {1, 1});
    cases.emplace_back().image(1, 1, 1, 8, 1, 1, {{0}}).rational(278, 1, 1);
    for (std::size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE("case " + std::to_string(i));
        MemoryTiff tiff(cases[i].build(), -3);
        EXPECT_EQ(tiff.result, 1);
        EXPECT_EQ(tiff.said(), kFormatError);
    }
}

TEST(TiffStructure, HeaderAndDirectoryMustLieInTheFile) {
    const std::vector<std::vector<unsigned char>> files = {
        {},
        {'I', 'I', 42},
        {'I', 'M', 42, 0, 8, 0, 0, 0},
        {'I', 'I', 43, 0, 8, 0, 0, 0},
        {'M', 'M', 0, 42, 0, 0, 0, 200},
        {'I', 'I', 42, 0, 8, 0, 0, 0, 0xFF, 0x7F},
    };
    for (const auto& bytes : files) {
        MemoryTiff tiff(bytes, -3);
        EXPECT_EQ(tiff.result, 1);
        EXPECT_EQ(tiff.said(), kFormatError);
        EXPECT_EQ(tiff.reader.pixrealin(nullptr, 0), 0);
    }
}

// A 100-byte file that claims a 2^31-pixel-wide image.
TEST(TiffStructure, AHugeWidthInATinyFileIsRefused) {
    TiffBuilder b;
    b.image(1, 1, 1, 8, 1, 1, {{0}}).longs(256, {0x7FFFFFFFu});
    MemoryTiff tiff(b.build(), -1);
    EXPECT_EQ(tiff.result, 1);
    EXPECT_EQ(tiff.said(), kFormatError);
}

// ColorMap is read after every entry, whatever the order of the tags.
TEST(TiffStructure, PaletteComesFromTheColorMapInAnyTagOrder) {
    std::vector<std::uint32_t> map(48, 0);
    for (int i = 0; i < 16; ++i) map[i] = static_cast<std::uint32_t>(i) << 12, map[32 + i] = 0xFF00;
    TiffBuilder b;
    b.shorts(320, map).unsorted().image(2, 1, 1, 4, 3, 1, {{0x12}});
    MemoryTiff tiff(b.build(), -1);
    ASSERT_EQ(tiff.result, 2);
    // Pixel 0 from entry 1, pixel 1 from entry 2: bytes B, G, R, 0.
    EXPECT_EQ(tiff.row(8), (std::vector<unsigned char>{0xFF, 0, 0x10, 0, 0xFF, 0, 0x20, 0}));
}

TEST(TiffStructure, AColorMapOfTheWrongSizeIsRefused) {
    TiffBuilder b;
    b.image(2, 1, 1, 8, 3, 1, {{0, 1}}).shorts(320, std::vector<std::uint32_t>(12, 0));
    MemoryTiff tiff(b.build(), -1);
    EXPECT_EQ(tiff.result, 1);
    EXPECT_EQ(tiff.said(), std::vector<std::string>{
                               "CANNOT READ THIS FILE. FILE SHOULD HAVE 8 BITS PER SAMPLE"});
}

TEST(TiffStructure, InkNamesWithTheirCmykEquivalents) {
    auto b = grayImage();
    b.ascii(333, std::string("Orange\0Varnish", 14)).shorts(34032, {0, 0, 0, 0, 0, 50, 100, 0});
    MemoryTiff tiff(b.build(), -3);
    const auto* space = tiff.reader.getColorspaceInfo();
    ASSERT_NE(space, nullptr);
    ASSERT_EQ(space->separationCount(), 2);
    EXPECT_EQ(space->getSeparationInfoAt(0)->name(), "Orange");
    const auto* second = space->getSeparationInfoAt(1);
    EXPECT_EQ(second->name(), "Varnish");  // the last name needs no NUL
    EXPECT_EQ((std::vector<int>{second->mC, second->mM, second->mY, second->mK}),
              (std::vector<int>{0, 50, 100, 0}));
}

TEST(TiffStructure, ImageIdIcc) {
    auto b = grayImage();
    b.ascii(32781, std::string(300, 'x')).bytes(34675, 7, {1, 2, 3});
    MemoryTiff tiff(b.build(), -3);
    std::string id;
    tiff.reader.pixImageID(id);
    EXPECT_EQ(id, std::string(255, 'x'));
    EXPECT_EQ(tiff.reader.pixiccprofile(), (std::vector<unsigned char>{1, 2, 3}));
}

// Metadata of a type the reader does not take is skipped, not an error.
TEST(TiffStructure, MetadataOfAnotherTypeIsSkipped) {
    auto b = grayImage();
    b.bytes(32781, 7, {'a', 'b'}).bytes(333, 1, {'c', 0});
    MemoryTiff tiff(b.build(), -3);
    EXPECT_EQ(tiff.result, 2);
    EXPECT_EQ(tiff.reader.getColorspaceInfo(), nullptr);
}

// Photoshop image resources ------------------------------------------------

void be16(std::vector<unsigned char>& out, unsigned v) {
    out.push_back(static_cast<unsigned char>(v >> 8));
    out.push_back(static_cast<unsigned char>(v));
}
void be32(std::vector<unsigned char>& out, std::uint32_t v) {
    be16(out, v >> 16);
    be16(out, v & 0xFFFF);
}

std::vector<unsigned char> resource(int id, const std::string& name,
                                    const std::vector<unsigned char>& data,
                                    std::uint32_t declaredLength = 0xFFFFFFFFu) {
    std::vector<unsigned char> out = {'8', 'B', 'I', 'M'};
    be16(out, static_cast<unsigned>(id));
    out.push_back(static_cast<unsigned char>(name.size()));
    out.insert(out.end(), name.begin(), name.end());
    if (out.size() & 1) out.push_back(0);
    be32(out,
         declaredLength == 0xFFFFFFFFu ? static_cast<std::uint32_t>(data.size()) : declaredLength);
    out.insert(out.end(), data.begin(), data.end());
    if (out.size() & 1) out.push_back(0);
    return out;
}

std::vector<unsigned char> pascal(std::initializer_list<std::string> names) {
    std::vector<unsigned char> out;
    for (const auto& n : names) {
        out.push_back(static_cast<unsigned char>(n.size()));
        out.insert(out.end(), n.begin(), n.end());
    }
    return out;
}

MemoryTiff withResources(const std::vector<std::vector<unsigned char>>& resources, int spp = 6,
                         int rows = 1) {
    std::vector<unsigned char> block;
    for (const auto& r : resources) block.insert(block.end(), r.begin(), r.end());
    TiffBuilder b;
    b.image(1, rows, spp, 8, 5, 1,
            {std::vector<unsigned char>(static_cast<std::size_t>(spp * rows), 0)})
        .rational(282, 300, 1)
        .bytes(34377, 7, block);
    return MemoryTiff(b.build(), -4);
}

TEST(TiffPhotoshop, ChannelNames) {
    auto tiff = withResources({resource(1006, "", pascal({"A", "B"}))});
    std::string name;
    EXPECT_EQ(tiff.reader.getChannelName(5, name), 4);
    EXPECT_EQ(name, "B");
    tiff.reader.getChannelName(6, name);
    EXPECT_EQ(name, "Channel 6");
    tiff.reader.getChannelName(4 + 64, name);
    EXPECT_EQ(name, "Channel 68");
    EXPECT_EQ(tiff.reader.pixchannelname(64), nullptr);
    EXPECT_EQ(tiff.reader.pixchannelname(-1), nullptr);
    EXPECT_STREQ(tiff.reader.pixchannelname(0), "A");
}

TEST(TiffPhotoshop, UnicodeNamesReplacePascalNames) {
    std::vector<unsigned char> unicode;
    be32(unicode, 3);
    for (unsigned u : {0x4Eu, 0xFCu, 0u}) be16(unicode, u);  // "Nü" and the writer's NUL
    auto tiff =
        withResources({resource(1006, "", pascal({"A", "B"})), resource(1045, "", unicode)});
    EXPECT_STREQ(tiff.reader.pixchannelname(0), "N\xC3\xBC");
    EXPECT_STREQ(tiff.reader.pixchannelname(1), "B");
}

TEST(TiffPhotoshop, VersionedDisplayInfo) {
    std::vector<unsigned char> data;
    be32(data, 1);
    for (int c = 0; c < 14; ++c) {
        be16(data, 0);
        for (int k = 0; k < 4; ++k) be16(data, static_cast<unsigned>(c * 100 + k));
        be16(data, 50);
        data.push_back(2);
    }
    auto tiff = withResources({resource(1077, "", data)});
    EXPECT_EQ(tiff.reader.pixchannelDisplayInfo(13)->colour[1], 1301);
    EXPECT_EQ(tiff.reader.pixchannelDisplayInfo(13)->kind, 2);
    EXPECT_EQ(tiff.reader.pixchannelDisplayInfo(14)->kind, 5);
    EXPECT_EQ(tiff.reader.pixchannelDisplayInfo(64), nullptr);
}

// Lengths that claim more than the block holds stop the walk; nothing is
// read past a resource.
TEST(TiffPhotoshop, OverlongLengthsStopTheWalk) {
    std::vector<unsigned char> unicode;
    be32(unicode, 0x80000001u);
    be16(unicode, 'X');
    const std::vector<std::vector<std::vector<unsigned char>>> blocks = {
        {resource(1006, "", pascal({"A"}), 0xFFFFFFFFu - 1)},
        {resource(1006, "", {200, 'A', 'B'})},
        {resource(1045, "", unicode)},
        {resource(1077, "", {0, 0})},
        {resource(1007, "", std::vector<unsigned char>(13, 1))},
    };
    for (const auto& block : blocks) {
        auto tiff = withResources(block);
        EXPECT_EQ(tiff.result, 0);
        EXPECT_EQ(tiff.reader.pixchannelname(0), nullptr);
        EXPECT_EQ(tiff.reader.pixchannelDisplayInfo(0)->kind, 5);
    }
}

std::vector<unsigned char> pathRecord(int selector, std::int32_t v = 0, std::int32_t h = 0) {
    std::vector<unsigned char> out;
    be16(out, static_cast<unsigned>(selector));
    for (int i = 0; i < 3; ++i)
        be32(out, static_cast<std::uint32_t>(v)), be32(out, static_cast<std::uint32_t>(h));
    return out;
}

std::vector<unsigned char> path(std::initializer_list<std::vector<unsigned char>> records) {
    std::vector<unsigned char> out;
    for (const auto& r : records) out.insert(out.end(), r.begin(), r.end());
    return out;
}

TEST(TiffPhotoshop, TheClippingPathNameChoosesTheSavedPath) {
    VelDB::setppi(72);
    const auto first = path({pathRecord(1, 1 << 20), pathRecord(0), pathRecord(1, 1 << 23, 1 << 22),
                             pathRecord(2, 1 << 22, 1 << 23), pathRecord(3), pathRecord(0)});
    const auto second = path({pathRecord(0), pathRecord(1), pathRecord(1), pathRecord(1)});
    auto tiff = withResources({resource(2000, "Outline", first), resource(2001, "Other", second),
                               resource(2999, "", pascal({"Outline"}))},
                              6, 300);
    auto* compound = dynamic_cast<VelDB::Sequence*>(tiff.reader.GetClippingPath());
    ASSERT_NE(compound, nullptr);
    // The knot before any subpath is ignored and the empty subpath dropped.
    ASSERT_EQ(compound->members().size(), 1u);
    const auto* outline = dynamic_cast<const VelDB::Path*>(compound->members()[0]);
    ASSERT_NE(outline, nullptr);
    ASSERT_EQ(outline->contours().size(), 1u);
    // Half of 300 rows at 300 pixels per inch, in units of 72 per inch: 36.
    EXPECT_EQ(outline->contours()[0].start, (VelDB::Point{36 + 5000000, 5000000}));
    EXPECT_TRUE(outline->contours()[0].closed);
    VelDB::setppi(VelDB::kDefaultPpi);
}

TEST(TiffPhotoshop, NoClippingPathWithoutItsName) {
    auto tiff = withResources({resource(2000, "Outline", path({pathRecord(0), pathRecord(1)}))});
    EXPECT_EQ(tiff.reader.GetClippingPath(), nullptr);
}

// Preparing again releases the first preparation's state.
TEST(TiffStructure, PreparingTwice) {
    auto b = grayImage();
    b.ascii(333, "Ink");
    MemoryTiff tiff(b.build(), -3);
    int n, d, rows, columns;
    EXPECT_EQ(tiff.reader.pixreaini(&n, &d, &rows, &columns, -4, 0), 2);
    EXPECT_EQ(tiff.row(2), (std::vector<unsigned char>{10, 200}));
    EXPECT_EQ(tiff.reader.getColorspaceInfo()->separationCount(), 1);
    tiff.reader.pixreaend();
    tiff.reader.pixreaend();
}

}  // namespace
