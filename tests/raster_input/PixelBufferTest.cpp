#include <gtest/gtest.h>

#include <vector>

#include "platform/velsys/drapix.h"
#include "raster/input/PixelBuffer.h"

using namespace QuillonCore;
using Bytes = std::vector<unsigned char>;

namespace {

Bytes pixels(const PixelBuffer& buffer) {
    const unsigned char* p = buffer.GetPixelData().get();
    return p ? Bytes(p, p + buffer.GetBufferSize()) : Bytes();
}

// A 3 x 2 drawing (row pitch 5) whose pixel (r, c) is R = 10r + c, G = 100, B = 200.
VelSys::drapix sampleDrawing() {
    VelSys::drapix drawing(2, 3, 5);
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 3; ++c)
            drawing.setPixel(r, c, static_cast<unsigned char>(10 * r + c), 100, 200);
    return drawing;
}

Bytes px(unsigned char r) {
    return {255, r, 100, 200};
}

Bytes concat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

}  // namespace

TEST(PixelBuffer, FromAColourAndCopiesShareThePixels) {
    const PixelBuffer one = PixelBuffer::CreateFromColor(10, 20, 30);
    EXPECT_EQ(pixels(one), (Bytes{255, 10, 20, 30}));
    EXPECT_EQ(one.GetBufferSize(), 4u);
    PixelBuffer copy = one;
    EXPECT_EQ(copy.GetPixelData().get(), one.GetPixelData().get());
    EXPECT_EQ(PixelBuffer().GetBufferSize(), 0u);
}

TEST(PixelBuffer, PartsClampToTheSource) {
    VelSys::drapix drawing = sampleDrawing();
    const PixelBuffer whole = PixelBuffer::CreateFromDraPix(&drawing);
    EXPECT_FALSE(drawing.isLocked());
    ASSERT_EQ(whole.GetWidth(), 3u);
    ASSERT_EQ(whole.GetHeight(), 2u);
    EXPECT_EQ(pixels(whole), concat({px(0), px(1), px(2), px(10), px(11), px(12)}));

    struct Case {
        const char* name;
        int firstRow, endRow, firstColumn, endColumn;
        unsigned long width, height;
        Bytes expected;
    } cases[] = {
        {"past both ends", 0, 5, 0, 5, 3, 2, pixels(whole)},
        {"inner part", 1, 2, 1, 3, 2, 1, concat({px(11), px(12)})},
        {"empty rows", 2, 2, 0, 3, 0, 0, {}},
        {"first row outside", 3, 9, 0, 3, 0, 0, {}},
        {"first column after end", 0, 2, 2, 1, 0, 0, {}},
        {"negative first row", -1, 2, 0, 3, 0, 0, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const PixelBuffer fromDrawing = PixelBuffer::CreateFromDraPix(
            &drawing, c.firstRow, c.endRow, c.firstColumn, c.endColumn);
        EXPECT_EQ(fromDrawing.GetWidth(), c.width);
        EXPECT_EQ(fromDrawing.GetHeight(), c.height);
        EXPECT_EQ(pixels(fromDrawing), c.expected);
        if (c.firstRow < 0) continue;
        const PixelBuffer fromBuffer = PixelBuffer::CreatePartFromPixelBuffer(
            whole, c.firstRow, c.endRow, c.firstColumn, c.endColumn);
        EXPECT_EQ(fromBuffer.GetWidth(), c.width);
        EXPECT_EQ(pixels(fromBuffer), c.expected);
    }
    EXPECT_FALSE(drawing.isLocked());
    EXPECT_EQ(PixelBuffer::CreateFromDraPix(nullptr).GetBufferSize(), 0u);
}
