// The TIFF reader against libtiff on the files of tests/data/tiff (made by
// third-party tools; MANIFEST.tsv holds the SHA-256 of libtiff's rows).

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "LibtiffOracle.h"
#include "platform/velsys/FileSpec.h"
#include "platform/velsys/fil.h"
#include "raster/input/tifreatyp.h"
#include "support/TestSupport.h"

using QuillonCore::tifreatyp;
using QuillonTest::dataPath;
using QuillonTest::LibtiffOracle;
using QuillonTest::MessageRecorder;

namespace {

struct CorpusFile {
    std::string name;
    std::string digest;
};

void PrintTo(const CorpusFile& file, std::ostream* out) {
    *out << file.name;
}

// Messages other than the (harmless) note that the two resolutions differ.
std::vector<std::string> errorsIn(const MessageRecorder& messages) {
    std::vector<std::string> errors;
    for (const auto& m : messages.said())
        if (m.text.find("RESOLUTION SHOULD BE IDENTICAL") == std::string::npos)
            errors.push_back(m.text);
    return errors;
}

std::vector<std::string> split(const std::string& line) {
    std::vector<std::string> fields;
    std::stringstream in(line);
    for (std::string f; std::getline(in, f, '\t');) fields.push_back(f);
    return fields;
}

bool refusedByDesign(const std::string& name) {
    return name.find("-NEG") != std::string::npos || name.rfind("unsup-", 0) == 0 ||
           name.rfind("bad-", 0) == 0 || name == "quad-lzw-compat.tiff" ||
           name == "gray8-alpha-planar2-packbits.tif";
}

// Every file libtiff decodes that the reader supports.
std::vector<CorpusFile> readableFiles() {
    std::ifstream manifest(dataPath("tiff/MANIFEST.tsv"));
    std::vector<CorpusFile> files;
    std::string line;
    std::getline(manifest, line);
    while (std::getline(manifest, line)) {
        const auto f = split(line);
        if (f.size() >= 18 && f[16] == "libtiff-scanlines" && !refusedByDesign(f[0]))
            files.push_back({f[0], f[17]});
    }
    return files;
}

std::vector<int> selectorsFor(const LibtiffOracle& oracle, int bits) {
    if (oracle.photometric() == 3) return {-1};
    std::vector<int> selectors = {-1, -4};
    if (!(oracle.photometric() == 5 && bits == 1)) selectors.insert(selectors.end(), {-2, -3});
    for (int c = 0; c < oracle.samplesPerPixel(); ++c) selectors.push_back(c);
    return selectors;
}

class TiffCorpus : public testing::TestWithParam<CorpusFile> {};

TEST_P(TiffCorpus, LibtiffDecodesTheManifestRows) {
    const LibtiffOracle oracle(dataPath("tiff/" + GetParam().name));
    ASSERT_TRUE(oracle.ok());
    EXPECT_EQ(oracle.scanlineDigest(), GetParam().digest);
}

TEST_P(TiffCorpus, EveryLayoutMatchesLibtiff) {
    const std::string path = dataPath("tiff/" + GetParam().name);
    const LibtiffOracle oracle(path);
    ASSERT_TRUE(oracle.ok());
    VelSys::fil file;
    ASSERT_EQ(VelSys::openFile(&file, nullptr, VelSys::FileSpec(path)), 0);
    tifreatyp probe(&file);
    int n = 0, d = 0, rows = 0, columns = 0;
    probe.pixreaini(&n, &d, &rows, &columns, -4, 0);
    for (int selector : selectorsFor(oracle, probe.pixbitspersample())) {
        SCOPED_TRACE("selector " + std::to_string(selector));
        MessageRecorder messages;
        tifreatyp reader(&file);
        const int result = reader.pixreaini(&n, &d, &rows, &columns, selector, 0);
        ASSERT_NE(result, 1) << testing::PrintToString(errorsIn(messages));
        ASSERT_EQ(rows, oracle.height());
        ASSERT_EQ(columns, oracle.width());
        for (int y = 0; y < rows; ++y) {
            const auto expected = oracle.expectedRow(selector, y);
            std::vector<unsigned char> row(selector == -2 ? 4 * (columns + 2) : expected.size(),
                                           0xEE);
            ASSERT_EQ(reader.pixrealin(row.data(), static_cast<int>(row.size())), 1) << "row " << y;
            row.resize(expected.size());
            ASSERT_EQ(row, expected) << "row " << y;
        }
        EXPECT_EQ(reader.pixrealin(nullptr, 0), 0);
        EXPECT_TRUE(errorsIn(messages).empty());
        reader.pixreaend();
    }
}

// Skipping rows (a null buffer) keeps the reader in step.
TEST_P(TiffCorpus, SkippedRowsKeepTheOthersInStep) {
    const std::string path = dataPath("tiff/" + GetParam().name);
    const LibtiffOracle oracle(path);
    VelSys::fil file;
    ASSERT_EQ(VelSys::openFile(&file, nullptr, VelSys::FileSpec(path)), 0);
    tifreatyp reader(&file);
    int n = 0, d = 0, rows = 0, columns = 0;
    ASSERT_NE(reader.pixreaini(&n, &d, &rows, &columns, -1, 0), 1);
    for (int y = 0; y < rows; ++y) {
        if (y % 3 == 1) {
            ASSERT_EQ(reader.pixrealin(nullptr, 0), 1);
            continue;
        }
        std::vector<unsigned char> row(4 * static_cast<std::size_t>(columns));
        ASSERT_EQ(reader.pixrealin(row.data(), static_cast<int>(row.size())), 1);
        ASSERT_EQ(row, oracle.expectedRow(-1, y)) << "row " << y;
    }
}

INSTANTIATE_TEST_SUITE_P(Files, TiffCorpus, testing::ValuesIn(readableFiles()),
                         [](const testing::TestParamInfo<CorpusFile>& info) {
                             std::string name = info.param.name;
                             for (char& c : name)
                                 if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                             return name;
                         });

}  // namespace

namespace {

// Malformed files and files outside the reader's scope: a clean error,
// either at preparation (result 1) or at the row where the data fails.
struct RefusedFile {
    const char* name;
    const char* message;
    bool atPreparation;
};

void PrintTo(const RefusedFile& file, std::ostream* out) {
    *out << file.name;
}

const RefusedFile kRefused[] = {
    {"bad-empty.tif", "ERROR IN FILE FORMAT", true},
    {"bad-ifd-past-eof.tif", "ERROR IN FILE FORMAT", true},
    {"bad-magic-43-bigtiff.tif", "ERROR IN FILE FORMAT", true},
    {"bad-magic-patched.tif", "ERROR IN FILE FORMAT", true},
    {"bad-not-tiff-png.tif", "ERROR IN FILE FORMAT", true},
    {"unsup-tiled.tif", "ERROR IN FILE FORMAT", true},
    {"unsup-deflate-8.tif", "CANNOT READ TIFF FILE", true},
    {"unsup-jpeg-7.tif", "CANNOT READ TIFF FILE", true},
    {"bw-mw-g3-2d-NEG.tif", "CANNOT READ TIFF FILE", true},
    {"bw-mw-g3-2d-fill-NEG.tif", "CANNOT READ TIFF FILE", true},
    {"quad-lzw-compat.tiff", "CANNOT READ TIFF FILE", true},
    {"unsup-planar2-rgb.tif", "CANNOT READ THIS FILE. UNSUPPORTED COLORSPACE", true},
    {"gray8-alpha-planar2-packbits.tif", "CANNOT READ THIS FILE. UNSUPPORTED COLORSPACE", true},
    {"bad-last-strip-at-eof.tif", "CANNOT READ TIFF FILE", false},
    {"bad-strip-offset-past-eof.tif", "CANNOT READ TIFF FILE", false},
    {"bad-truncated-lzw-onestrip.tif", "CANNOT READ TIFF FILE", false},
    {"bad-truncated-lzw.tif", "CANNOT READ TIFF FILE", false},
};

class RefusedTiff : public testing::TestWithParam<RefusedFile> {};

TEST_P(RefusedTiff, GivesItsErrorOnce) {
    VelSys::fil file;
    ASSERT_EQ(VelSys::openFile(&file, nullptr,
                               VelSys::FileSpec(dataPath(std::string("tiff/") + GetParam().name))),
              0);
    MessageRecorder messages;
    tifreatyp reader(&file);
    int n = 0, d = 0, rows = 0, columns = 0;
    const int result = reader.pixreaini(&n, &d, &rows, &columns, -4, 0);
    EXPECT_EQ(result == 1, GetParam().atPreparation);
    int delivered = 0;
    if (result != 1) {
        std::vector<unsigned char> row(static_cast<std::size_t>(columns) *
                                       reader.pixsamplesperpixel());
        while (reader.pixrealin(row.data(), static_cast<int>(row.size())) == 1) ++delivered;
        EXPECT_LT(delivered, rows);
    }
    ASSERT_EQ(messages.said().size(), 1u);
    EXPECT_EQ(messages.said()[0].text, GetParam().message);
    EXPECT_TRUE(reader.pixfailed());
}

INSTANTIATE_TEST_SUITE_P(Files, RefusedTiff, testing::ValuesIn(kRefused),
                         [](const testing::TestParamInfo<RefusedFile>& info) {
                             std::string name = info.param.name;
                             for (char& c : name)
                                 if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                             return name;
                         });

}  // namespace
