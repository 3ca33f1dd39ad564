// `quillon jpeg` and `quillon eps` end to end: the JPEG decodes with djpeg,
// the EPS renders with Ghostscript, both close to the source image.

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "support/JpegTestFiles.h"
#include "support/Sha256.h"
#include "support/TestSupport.h"

using namespace QuillonTest;

namespace {

// Mean absolute difference per sample allowed between the source and what
// djpeg or Ghostscript make of our output at quality 85 (measured: up to 1.3).
constexpr double kMaxMeanDifference = 2.5;

int run(const std::string& command) {
    return std::system((command + " 2>/dev/null").c_str());
}

std::string cli() {
    return QUILLON_CLI_PATH;
}

struct Source {
    const char* file;
    int components;
    const char* device;  // Ghostscript device giving the same samples
    int ppi;
};

// Composite samples of the source: luminance, RGB, or CMYK ink amounts.
const Source kSources[] = {
    {"jpeg-gray.jpg", 1, "pgmraw", 300},
    {"jpeg-jfif-72dpi.jpg", 3, "ppmraw", 72},
    {"jpeg-cmyk.jpg", 4, "pamcmyk32", 300},
};

}  // namespace

TEST(JpegCommands, JpegOutputDecodesWithDjpeg) {
    for (const Source& source : kSources) {
        if (source.components == 4) continue;  // djpeg writes no CMYK PNM
        SCOPED_TRACE(source.file);
        const std::string out = tempPath("out.jpg"), pnm = tempPath("out.pnm");
        ASSERT_EQ(run(cli() + " jpeg '" + dataPath(source.file) + "' '" + out + "' --quality 85"),
                  0);
        ASSERT_EQ(run("djpeg -pnm -outfile '" + pnm + "' '" + out + "'"), 0);
        const DecodedJpeg original =
            decodeJpeg(fileBytes(dataPath(source.file)), -3, source.components);
        EXPECT_LE(meanDifference(pnmSamples(pnm), original.pixels), kMaxMeanDifference);
        const DecodedJpeg written = decodeJpeg(fileBytes(out), -3, source.components);
        EXPECT_EQ(written.numerator, source.ppi == 72 ? 7200 : 30000);
    }
}

TEST(JpegCommands, EpsRendersWithGhostscript) {
    if (run("gs --version > /dev/null") != 0) GTEST_SKIP() << "Ghostscript is not installed";
    for (const Source& source : kSources) {
        for (bool ascii : {false, true}) {
            SCOPED_TRACE(std::string(source.file) + (ascii ? " ASCIIHex" : " binary"));
            const std::string eps = tempPath("out.eps"), rendered = tempPath("out.pnm");
            ASSERT_EQ(run(cli() + " eps '" + dataPath(source.file) + "' '" + eps + "'" +
                          (ascii ? " --ascii" : "")),
                      0);
            ASSERT_EQ(
                run("gs -q -dSAFER -dBATCH -dNOPAUSE -dEPSCrop -r" + std::to_string(source.ppi) +
                    " -sDEVICE=" + source.device + " -o '" + rendered + "' '" + eps + "'"),
                0);
            const DecodedJpeg original =
                decodeJpeg(fileBytes(dataPath(source.file)), -3, source.components);
            EXPECT_LE(meanDifference(pnmSamples(rendered), original.pixels), kMaxMeanDifference);
        }
    }
}

TEST(JpegCommands, EpsByteCountMatchesTheBinaryData) {
    const std::string eps = tempPath("out.eps");
    ASSERT_EQ(run(cli() + " eps '" + dataPath("jpeg-testorig.jpg") + "' '" + eps + "'"), 0);
    const std::vector<unsigned char> bytes = fileBytes(eps);
    const std::string text(bytes.begin(), bytes.end());
    const std::size_t begin = text.find("%%BeginBinary:");
    ASSERT_NE(begin, std::string::npos);
    const long count = std::strtol(text.c_str() + begin + 14, nullptr, 10);
    const std::size_t dataStart = text.find('\n', begin) + 1;
    // A DSC reader skips count bytes and must land on the line end before %%EndBinary.
    EXPECT_EQ(text.compare(dataStart + count, 13, "\n%%EndBinary\n"), 0);
    EXPECT_EQ(text.rfind("%%EndBinary"), dataStart + count + 1);
}

TEST(JpegCommands, BadUsageAndUnreadableInput) {
    const std::string out = tempPath("x.jpg");
    EXPECT_EQ(WEXITSTATUS(run(cli() + " jpeg")), 2);
    EXPECT_EQ(WEXITSTATUS(run(cli() + " jpeg a.jpg")), 2);
    EXPECT_EQ(WEXITSTATUS(run(cli() + " jpeg '" + dataPath("jpeg-gray.jpg") + "' '" + out +
                              "' --quality 0")),
              2);
    EXPECT_EQ(WEXITSTATUS(run(cli() + " jpeg '" + dataPath("jpeg-gray.jpg") + "' '" + out +
                              "' --quality x")),
              2);
    EXPECT_EQ(WEXITSTATUS(run(cli() + " eps '" + dataPath("jpeg-gray.jpg") + "' '" + out +
                              "' --quality 5")),
              2);
    EXPECT_EQ(WEXITSTATUS(run(cli() + " jpeg '" + dataPath("no-such.jpg") + "' '" + out + "'")), 1);
    EXPECT_EQ(WEXITSTATUS(run(cli() + " eps '" + dataPath("jpeg-monkey12-12bit-NEG.jpg") + "' '" +
                              out + "'")),
              1);
}

namespace {

std::string output(const std::string& command) {
    std::string text;
    FILE* pipe = popen((command + " 2>/dev/null").c_str(), "r");
    if (!pipe) return text;
    char buffer[4096];
    std::size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) text.append(buffer, got);
    pclose(pipe);
    return text;
}

}  // namespace

TEST(JpegCommands, InfoAndRowsReadJpegFiles) {
    const std::string info =
        output(cli() + " info --json '" + dataPath("jpeg-ps-res-72.5dpi.jpg") + "'");
    EXPECT_NE(info.find("\"type\": \"JPEG\""), std::string::npos) << info;
    EXPECT_NE(info.find("\"progressive\": false"), std::string::npos);
    EXPECT_NE(info.find("\"photoshop_resolution\": 72.5"), std::string::npos);
    EXPECT_NE(info.find("\"numerator\": 7250"), std::string::npos);
    EXPECT_NE(output(cli() + " info --json '" + dataPath("jpeg-progressive.jpg") + "'")
                  .find("\"progressive\": true"),
              std::string::npos);
    // Rows as libjpeg decodes them (the corpus digest of the gray file).
    const std::string rows =
        output(cli() + " rows '" + dataPath("jpeg-gray.jpg") + "' --layout composite");
    EXPECT_EQ(sha256Hex({rows.begin(), rows.end()}),
              "fec19834cfac327443fc84e721b39a41dfcaafb24df1041808152c387859b1d6");
}
