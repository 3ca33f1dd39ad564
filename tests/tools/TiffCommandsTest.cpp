// `quillon info` and `quillon rows` end to end on TIFF files.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>

#include "platform/velsys/FileSpec.h"
#include "platform/velsys/fil.h"
#include "raster/input/tifreatyp.h"
#include "support/TestSupport.h"

using namespace QuillonTest;

namespace {

int run(const std::string& arguments, const std::string& out = "/dev/null") {
    const int status = std::system(
        (std::string(QUILLON_CLI_PATH) + " " + arguments + " >" + out + " 2>/dev/null").c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::vector<unsigned char> bytesOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// What the reader itself delivers, rows back to back (run lists up to their terminator).
std::vector<unsigned char> readerRows(const std::string& path, int selector, std::size_t rowBytes) {
    VelSys::fil file;
    VelSys::openFile(&file, nullptr, VelSys::FileSpec(path));
    QuillonCore::tifreatyp reader(&file);
    int n, d, rows, columns;
    reader.pixreaini(&n, &d, &rows, &columns, selector, 0);
    std::vector<unsigned char> all, row(rowBytes);
    for (int y = 0; y < rows && reader.pixrealin(row.data(), static_cast<int>(row.size())) == 1;
         ++y) {
        std::size_t length = row.size();
        for (std::size_t i = 0; selector == -2 && i < row.size(); i += 4)
            if (std::int32_t v; std::memcpy(&v, &row[i], 4), v == 2147483647) {
                length = i + 4;
                break;
            }
        all.insert(all.end(), row.begin(), row.begin() + static_cast<std::ptrdiff_t>(length));
    }
    return all;
}

TEST(TiffCommands, InfoAsJson) {
    const std::string out = tempPath("info.json");
    ASSERT_EQ(run("info --json " + dataPath("tiff/ps-cmyk-spots-paths-clip.tif"), out), 0);
    const auto info = nlohmann::json::parse(bytesOf(out));
    EXPECT_EQ(info["type"], "TIFF");
    EXPECT_EQ(info["width"], 157);
    EXPECT_EQ(info["samples_per_pixel"], 6);
    EXPECT_EQ(info["channels"][4], "Spot Orange");
    EXPECT_EQ(info["clipping_path"]["subpaths"], 1);
    EXPECT_EQ(info["resolution"]["missing"], false);
}

TEST(TiffCommands, RowsInEachLayoutAreTheReadersRows) {
    const std::string file = dataPath("tiff/cmyk8-extra2-inknames-lzw-MM.tif");
    const struct {
        const char* layout;
        int selector;
        std::size_t rowBytes;
    } cases[] = {{"runs", -2, 4 * 159}, {"all", -4, 6 * 157}, {"rgb", -1, 4 * 157}, {"5", 5, 157}};
    for (const auto& c : cases) {
        const std::string out = tempPath("rows");
        ASSERT_EQ(run("rows " + file + " --layout " + c.layout + " -o " + out), 0) << c.layout;
        EXPECT_EQ(bytesOf(out), readerRows(file, c.selector, c.rowBytes)) << c.layout;
    }
}

TEST(TiffCommands, ErrorsAndUsage) {
    EXPECT_EQ(run("rows " + dataPath("tiff/bad-truncated-lzw.tif") + " --layout all"), 1);
    EXPECT_EQ(run("rows " + dataPath("tiff/rgb8-none-II-rps1.tif") + " --layout 3"), 1);
    EXPECT_EQ(run("info " + dataPath("tiff/bad-magic-patched.tif")), 1);
    EXPECT_EQ(run("rows " + dataPath("tiff/rgb8-none-II-rps1.tif") + " --layout sideways"), 2);
    EXPECT_EQ(run("info"), 2);
}

}  // namespace
