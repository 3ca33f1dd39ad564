// PostScript tokens (genoutfil) and the image dictionary and binary framing
// of psjpeghandler, on a writer that keeps what it is given.

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>
#include <string>

#include "raster/output/genoutfil.h"
#include "raster/output/psjpeghandler.h"

using namespace QuillonCore;

namespace {

class StringOut : public genoutfil {
  public:
    void putuns8met(unsigned char byte) override { text.push_back(static_cast<char>(byte)); }
    std::string text;
};

}  // namespace

TEST(PostScriptTokens, NumbersHaveUpToFiveDecimalsWithoutZeros) {
    const std::pair<double, const char*> cases[] = {
        {0.0, "0"},
        {-0.000001, "0"},
        {0.5, ".5"},
        {-0.25, "-.25"},
        {1.001, "1.001"},
        {1.999999, "2"},
        {12.345674, "12.34567"},
        {-3.0, "-3"},
        {0.00001, ".00001"},
        {std::numeric_limits<double>::quiet_NaN(), "0"},
        {std::numeric_limits<double>::infinity(), "0"},
        {-std::numeric_limits<double>::infinity(), "0"},
        {1e300, "2147483647"},
        {-4294967296.5, "-2147483647"},
    };
    for (const auto& [value, text] : cases)
        EXPECT_EQ(genoutfil::formatNumber(value), text) << value;
}

TEST(PostScriptTokens, NumbersAreSeparatedFromWhatFollows) {
    StringOut out;
    out << 1 << 2 << "x";
    out << "y" << std::string("z");
    out << 0.5 << -0.25;
    out.writeInteger(7);
    out << "w";
    EXPECT_EQ(out.text, "1 2 xyz.5 -.25 7w");
}

namespace {

// Keeps texts and data in one string; patches write the count as text.
class MemoryWriter : public PsJpegWriterBase {
  public:
    void write(const unsigned char* bytes, int count) override {
        out.append(reinterpret_cast<const char*>(bytes), count);
    }
    void writeText(const char* text) override { out += text; }
    void patch(int position, int value) override {
        const std::string count = " " + std::to_string(value);
        out.replace(static_cast<std::size_t>(position), count.size(), count);
    }
    int position() const override { return static_cast<int>(out.size()); }
    std::string out;
};

const double kMatrix[6] = {227, 0, 0, -149, 0, 149.5};

}  // namespace

TEST(PostScriptImage, DictionaryForEachComponentCount) {
    struct Case {
        int components;
        bool inverted;
        bool binary;
        const char* decode;
    };
    const Case cases[] = {
        {3, false, true, "/Decode [0 1 0 1 0 1] def\n"},
        {3, true, false, "/Decode [1 0 1 0 1 0] def\n"},
        {4, true, true, "/Decode [1 0 1 0 1 0 1 0] def\n"},
        {4, false, true, "/Decode [0 1 0 1 0 1 0 1] def\n"},
        {1, false, false, "/Decode [0 1] def\n"},
        {1, true, true, "/Decode [1 0] def\n"},
    };
    for (const Case& c : cases) {
        MemoryWriter writer;
        ASSERT_TRUE(
            psjpeghandler::pswridic(c.inverted, kMatrix, c.binary, c.components, 227, 149, writer));
        const std::string expected =
            std::string("12 dict begin\n/ImageType 1 def\n/Width 227 def\n/Height 149 def\n") +
            "/ImageMatrix [227.0000000000000000 0.0000000000000000 0.0000000000000000 "
            "-149.0000000000000000 "
            "0.0000000000000000 149.5000000000000000] def\n/BitsPerComponent 8 def\n" +
            c.decode +
            (c.binary ? "/DataSource currentfile /DCTDecode filter def\n"
                      : "/DataSource currentfile /ASCIIHexDecode filter /DCTDecode filter def\n") +
            "currentdict end\n";
        EXPECT_EQ(writer.out, expected);
    }
    MemoryWriter refused;
    EXPECT_FALSE(psjpeghandler::pswridic(false, kMatrix, true, 2, 10, 10, refused));
    EXPECT_TRUE(refused.out.empty());
}

TEST(PostScriptImage, MatrixIgnoresTheProcessLocaleAndNonFiniteValues) {
    const char* previous = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = previous ? previous : "C";
    const bool commaLocale =
        std::setlocale(LC_NUMERIC, "de_DE.UTF-8") || std::setlocale(LC_NUMERIC, "fr_FR.UTF-8");
    const double matrix[6] = {0.5, 0, 0, std::nan(""), 0, 1e-20};
    MemoryWriter writer;
    psjpeghandler::pswridic(false, matrix, true, 1, 1, 1, writer);
    std::setlocale(LC_NUMERIC, saved.c_str());
    EXPECT_NE(writer.out.find(
                  "[0.5000000000000000 0.0000000000000000 0.0000000000000000 0.0000000000000000 "
                  "0.0000000000000000 0.0000000000000000]"),
              std::string::npos)
        << writer.out << (commaLocale ? "" : " (no comma locale installed)");
}

TEST(PostScriptImage, BinaryCountIsTheNumberOfDataBytes) {
    MemoryWriter writer;
    EXPECT_EQ(psjpeghandler::psbegbin(false, writer), -1);
    EXPECT_TRUE(writer.out.empty());
    psjpeghandler::psendbin(false, -1, writer);
    EXPECT_EQ(writer.out, ">\n");

    for (const std::string& data :
         {std::string(), std::string("image\n") + std::string(1234, '\xFF')}) {
        MemoryWriter framed;
        framed.out = "%!PS\n";
        const int position = psjpeghandler::psbegbin(true, framed);
        EXPECT_EQ(framed.out, "%!PS\n%%BeginBinary:          \n");
        EXPECT_EQ(position, 19);
        framed.writeText(data.c_str());
        psjpeghandler::psendbin(true, position, framed);
        EXPECT_EQ(framed.out, "%!PS\n%%BeginBinary: " + std::to_string(data.size()) +
                                  std::string(9 - std::to_string(data.size()).size(), ' ') + "\n" +
                                  data + "\n%%EndBinary\n");
    }
}
