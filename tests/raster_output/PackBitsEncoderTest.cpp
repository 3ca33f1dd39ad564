#include <gtest/gtest.h>

#include <random>

#include "raster/output/PackBitsEncoder.h"

using namespace QuillonCore;

namespace {

using Bytes = std::vector<unsigned char>;

Bytes encode(const Bytes& in) {
    Bytes out;
    PackBitsEncoder().EncodeStrip(in.data(), in.size(), out);
    return out;
}

Bytes repeat(std::size_t n, unsigned char b) {
    return Bytes(n, b);
}
Bytes distinct(std::size_t n) {
    Bytes out(n);
    for (std::size_t i = 0; i < n; ++i) out[i] = static_cast<unsigned char>(i);
    return out;
}
Bytes join(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

// The PackBits decoder of TIFF 6.0 (header n: n + 1 literal bytes, 1 - n
// repeats, 128 nothing), stopping at the end of the strip.
Bytes decode(const Bytes& in) {
    Bytes out;
    for (std::size_t i = 0; i < in.size();) {
        const int n = static_cast<signed char>(in[i++]);
        if (n >= 0) {
            out.insert(out.end(), in.begin() + i, in.begin() + i + n + 1);
            i += n + 1;
        } else if (n != -128) {
            out.insert(out.end(), 1 - n, in[i++]);
        }
    }
    return out;
}

}  // namespace

TEST(PackBitsEncoder, PacketsOfTheStrip) {
    struct Case {
        const char* what;
        Bytes in, out;
    };
    const Case cases[] = {
        {"run then literal",
         {0x41, 0x41, 0x41, 0x61, 0x62, 0x63},
         {0xFE, 0x41, 0x02, 0x61, 0x62, 0x63, 0x80}},
        {"pair inside a literal", {1, 2, 2, 3}, {0x00, 1, 0xFF, 2, 0x00, 3, 0x80}},
        {"one byte", {7}, {0x00, 7, 0x80}},
        {"empty strip", {}, {0x80}},
        {"200 equal", repeat(200, 9), {0x81, 9, 0xB9, 9, 0x80}},
        {"128 equal: no empty packet after", repeat(128, 9), {0x81, 9, 0x80}},
        {"128 distinct: no empty packet after", distinct(128),
         join({{0x7F}, distinct(128), {0x80}})},
        {"130 distinct", distinct(130), join({{0x7F}, distinct(128), {0x01, 128, 129, 0x80}})},
        {"full literal, then a pair", join({distinct(128), {127, 127}}),
         join({{0x7F}, distinct(128), {0xFF, 127, 0x80}})},
        {"127 distinct then a pair", join({distinct(127), {126, 126}}),
         join({{0x7D}, distinct(126), {0xFE, 126, 0x80}})},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(encode(c.in), c.out) << c.what;
        EXPECT_EQ(decode(c.out), c.in) << c.what;
    }
}

TEST(PackBitsEncoder, RandomStripsDecodeBackWithinTheBound) {
    std::mt19937 random(3);
    for (int trial = 0; trial < 300; ++trial) {
        Bytes in(random() % 700);
        const unsigned alphabet = 1 + random() % 4;  // few symbols: many runs
        for (auto& b : in) b = static_cast<unsigned char>(random() % (trial % 2 ? 256 : alphabet));
        const Bytes out = encode(in);
        EXPECT_EQ(decode(out), in);
        EXPECT_LE(out.size(), PackBitsEncoder::MaxEncodedSize(in.size()));
    }
}
