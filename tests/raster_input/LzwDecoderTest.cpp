// The LZW decoder on code streams written here.

#include <gtest/gtest.h>

#include "LzwCodeWriter.h"
#include "raster/input/lzwinpbyttyp.h"
#include "support/TestSupport.h"

using QuillonTest::LzwCodeWriter;
using Bytes = std::vector<unsigned char>;

namespace {

constexpr int kClear = LzwCodeWriter::kClear;
constexpr int kEnd = LzwCodeWriter::kEnd;

Bytes stream(const std::vector<int>& codes) {
    LzwCodeWriter w;
    for (int c : codes) w.code(c);
    return w.bytes();
}

// Compressed bytes from memory; strips decode into a buffer.
class MemoryDecoder : public QuillonCore::lzwinptyp {
  public:
    void input(Bytes bytes) {
        mInput = std::move(bytes);
        mAt = 0;
    }
    int outputs = 0;

  protected:
    int lzwgetbyte() override { return mAt < mInput.size() ? mInput[mAt++] : -1; }
    int lzwoutput(const unsigned char*, int) override {
        ++outputs;
        return 1;
    }

  private:
    Bytes mInput;
    std::size_t mAt = 0;
};

class ByteDecoder : public QuillonCore::lzwinpbyttyp {
  public:
    explicit ByteDecoder(Bytes bytes) : mInput(std::move(bytes)) {}
    Bytes all() {
        Bytes out;
        for (int b; (b = getcha()) >= 0;) out.push_back(static_cast<unsigned char>(b));
        return out;
    }

  protected:
    int lzwgetbyte() override { return mAt < mInput.size() ? mInput[mAt++] : -1; }

  private:
    Bytes mInput;
    std::size_t mAt = 0;
};

TEST(LzwDecoder, StringsOfTheTable) {
    const auto bytes = stream({kClear, 65, 66, 258, 260, kEnd});
    const Bytes expected = {65, 66, 65, 66, 65, 66, 65};
    ByteDecoder pull(bytes);
    EXPECT_EQ(pull.all(), expected);
    EXPECT_EQ(pull.getcha(), -1);
    EXPECT_EQ(pull.getcha(), -1);

    MemoryDecoder strip;
    Bytes buffer(16, 0xEE);
    strip.lzwini(buffer.data(), 16);
    strip.input(bytes);
    strip.lzwreastrip();
    EXPECT_EQ(strip.lzwfilled(), 7);
    EXPECT_EQ(Bytes(buffer.begin(), buffer.begin() + 7), expected);
}

TEST(LzwDecoder, AnEmptyStrip) {
    MemoryDecoder strip;
    Bytes buffer(4);
    strip.lzwini(buffer.data(), 4);
    strip.input(stream({kEnd}));
    strip.lzwreastrip();
    EXPECT_EQ(strip.lzwfilled(), 0);
    EXPECT_EQ(strip.lzwentries(), 258);
}

// Codes widen one code early: the 253rd string added (entry 510) makes
// the next code 10 bits wide, and so on up to 12 bits; a full table takes
// no more strings but keeps decoding until the next Clear.
TEST(LzwDecoder, CodeWidthsAndAFullTable) {
    std::vector<int> codes = {kClear};
    Bytes expected;
    for (int i = 0; i < 4200; ++i) {
        codes.push_back(i % 251);
        expected.push_back(static_cast<unsigned char>(i % 251));
    }
    codes.push_back(4000);  // a string of the full table
    expected.push_back(static_cast<unsigned char>(3742 % 251));
    expected.push_back(static_cast<unsigned char>(3743 % 251));
    codes.insert(codes.end(), {kClear, 7, 7, kEnd});
    expected.insert(expected.end(), {7, 7});
    ByteDecoder pull(stream(codes));
    EXPECT_EQ(pull.all(), expected);
}

TEST(LzwDecoder, WidthGrowsAtEntry511) {
    MemoryDecoder strip;
    Bytes buffer(1000);
    strip.lzwini(buffer.data(), 1000);
    std::vector<int> codes = {kClear};
    for (int i = 0; i < 253; ++i) codes.push_back(i);
    codes.push_back(kEnd);
    strip.input(stream(codes));
    strip.lzwreastrip();
    EXPECT_EQ(strip.lzwfilled(), 253);
    EXPECT_EQ(buffer[252], 252);
}

// After a Clear (or at the start) a code of 258 or more names nothing.
TEST(LzwDecoder, CodesThatNameNoStringAreThrown) {
    for (const auto& codes : {std::vector<int>{kClear, 258}, std::vector<int>{kClear, 65, 300},
                              std::vector<int>{259, kEnd}}) {
        QuillonTest::MessageRecorder messages;
        MemoryDecoder strip;
        Bytes buffer(8, 0);
        strip.lzwini(buffer.data(), 8);
        strip.input(stream(codes));
        EXPECT_THROW(strip.lzwreastrip(), int);
        EXPECT_EQ(messages.said().at(0).text, "TIFF:Invalid code !");
        // The decoder starts the next strip cleanly, at the buffer start.
        strip.input(stream({kClear, 1, 2, 258, kEnd}));
        strip.lzwreastrip();
        EXPECT_EQ(strip.lzwfilled(), 4);
        EXPECT_EQ(Bytes(buffer.begin(), buffer.begin() + 4), (Bytes{1, 2, 1, 2}));
    }
}

TEST(LzwDecoder, RepeatedClearsAndAFullBuffer) {
    MemoryDecoder strip;
    Bytes buffer(3);
    strip.lzwini(buffer.data(), 3);
    strip.input(stream({kClear, kClear, 9, 8, 258, kEnd}));
    strip.lzwreastrip();
    // The string 9 8 does not fit whole: the buffer is full and told once.
    EXPECT_EQ(strip.lzwfilled(), 3);
    EXPECT_EQ(buffer, (Bytes{9, 8, 9}));
    EXPECT_EQ(strip.outputs, 1);
}

}  // namespace
