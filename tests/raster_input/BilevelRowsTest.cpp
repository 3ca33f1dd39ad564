#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "raster/input/RunListWriter.h"
#include "raster/input/pixreatyp.h"
#include "services/Localization.h"
#include "support/TestSupport.h"

using namespace QuillonCore;
using Ints = std::vector<std::int32_t>;

namespace {

constexpr std::int32_t kEnd = kRunListTerminator;
constexpr unsigned char kGuard = 0xA5;

// Runs bwtorun into a buffer of `capacity` bytes followed by guard bytes and
// returns the complete int32 values written (guard bytes must stay).
Ints runs(const std::vector<unsigned char>& bits, int width, int polarity, int capacity) {
    std::vector<unsigned char> buffer(capacity + 8, kGuard);
    bwtorun(buffer.data(), capacity, bits.data(), width, polarity);
    for (int i = capacity; i < capacity + 8; ++i) EXPECT_EQ(buffer[i], kGuard) << "byte " << i;
    Ints out;
    for (int i = 0; i + 4 <= capacity; i += 4) {
        std::int32_t v;
        std::memcpy(&v, buffer.data() + i, 4);
        out.push_back(v);
        if (v == kEnd) break;
    }
    return out;
}

}  // namespace

TEST(RunLists, RunsOfSetPixels) {
    struct Case {
        std::vector<unsigned char> bits;
        int width, polarity;
        Ints expected;
    } cases[] = {
        {{0x0F, 0xF0}, 16, 1, {4, 11, kEnd}},
        {{0x0F, 0xF0}, 16, 0, {0, 3, 12, 15, kEnd}},
        {{0x00, 0x00, 0x00}, 24, 1, {kEnd}},
        {{0xFF, 0xFF, 0xFF}, 24, 1, {0, 23, kEnd}},
        {{0xFF, 0xFF, 0x80}, 17, 1, {0, 16, kEnd}},
        {{0x00, 0x01, 0xFF, 0xFF, 0x00}, 40, 1, {15, 31, kEnd}},
        {{0xFF}, 3, 1, {0, 2, kEnd}},
    };
    for (const Case& c : cases) EXPECT_EQ(runs(c.bits, c.width, c.polarity, 64), c.expected);
}

TEST(RunLists, NeverWritePastTheCapacityAndReport101OnOverflow) {
    const std::vector<unsigned char> twoRuns = {0x0F, 0xF0};  // polarity 0: 0-3 and 12-15
    LocalizationInitialize();
    struct Case {
        int capacity;
        bool fits;
        Ints written;  // complete values inside the capacity
    } cases[] = {
        {0, false, {}},
        {3, false, {}},
        {4, false, {kEnd}},
        {7, false, {kEnd}},
        {8, false, {kEnd}},
        {12, false, {0, 3, kEnd}},
        {16, false, {0, 3, kEnd}},
        {19, false, {0, 3, kEnd}},
        {20, true, {0, 3, 12, 15, kEnd}},
        {23, true, {0, 3, 12, 15, kEnd}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.capacity);
        QuillonTest::MessageRecorder recorder;
        EXPECT_EQ(runs(twoRuns, 16, 0, c.capacity), c.written);
        ASSERT_EQ(recorder.said().size(), c.fits ? 0u : 1u);
        if (!c.fits) {
            EXPECT_EQ(recorder.said()[0].text, "OUT OF MEMORY");
        }
    }
    // One run fits exactly in 12 bytes.
    QuillonTest::MessageRecorder recorder;
    EXPECT_EQ(runs({0x0F, 0x00}, 16, 1, 12), (Ints{4, 7, kEnd}));
    EXPECT_TRUE(recorder.said().empty());
}

TEST(BilevelRows, ThresholdAndPacking) {
    std::vector<unsigned char> gray = {127, 128, 0, 255, 100, 200, 50, 150, 127};
    graytobw(gray.data(), 9);
    EXPECT_EQ(gray[0], 0xAA);
    EXPECT_EQ(gray[1], 0x80) << "last partial byte has its low bits clear";
    const int saved = gTreshold;
    gTreshold = 80;  // limit 51
    gray = {51, 52};
    graytobw(gray.data(), 2);
    EXPECT_EQ(gray[0], 0x80);
    gTreshold = saved;

    std::vector<unsigned char> bytes = {1, 0, 0, 0, 0, 0, 0, 1, 5, 0};
    pixcompressto1bit(bytes.data(), 10);
    EXPECT_EQ(bytes[0], 0x81);
    EXPECT_EQ(bytes[1], 0x80);
}
