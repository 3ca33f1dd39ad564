// quillon convert on real files: libtiff sees the same picture in the input
// and in what we wrote, without complaint; the library's reader gets the
// same samples, channel names, separations, resolution and clipping path.

#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/veldb/scan.h"
#include "platform/velsys/FileSpec.h"
#include "platform/velsys/fil.h"
#include "raster/input/tifreatyp.h"
#include "raster_output/LibTiffImage.h"
#include "support/TestSupport.h"

using namespace QuillonTest;

namespace {

int convert(const std::string& arguments) {
    const std::string command =
        std::string(QUILLON_CLI_PATH) + " convert " + arguments + " 2>/dev/null";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// What the library's reader makes of a file: all samples (or the preview),
// and the metadata.
struct OurView {
    int result = -1, numerator = 0, denominator = 0;
    std::vector<unsigned char> samples;
    std::vector<std::string> names, inks;
    std::vector<VelDB::Point> path;

    static OurView Of(const std::string& path, int selector) {
        VelSys::fil file;
        OurView view;
        if (VelSys::openFile(&file, nullptr, VelSys::FileSpec(path)) != 0) return view;
        QuillonCore::tifreatyp reader(&file);
        int rows = 0, columns = 0;
        view.result =
            reader.pixreaini(&view.numerator, &view.denominator, &rows, &columns, selector, 0);
        if (view.result == 1) return view;
        const int samples = selector == -1 ? 4 : reader.pixsamplesperpixel();
        std::vector<unsigned char> row(static_cast<std::size_t>(columns * samples));
        while (reader.pixrealin(row.data(), static_cast<int>(row.size())) == 1)
            view.samples.insert(view.samples.end(), row.begin(), row.end());
        for (int i = 0; i < reader.pixsamplesperpixel(); ++i) {
            view.names.emplace_back();
            reader.getChannelName(i, view.names.back());
        }
        const QuillonCore::ColorspaceInfo* colours = reader.getColorspaceInfo();
        for (int i = 0; colours && i < colours->separationCount(); ++i)
            view.inks.push_back(colours->getSeparationInfoAt(i)->name());
        VelDB::scan scanner;
        VelDB::Point c1, c2, end;
        if (reader.GetClippingPath() && scanner.scabeg(reader.GetClippingPath(), 0, -1) == 0)
            while (scanner.scanex(&c1, &c2, &end, nullptr))
                view.path.insert(view.path.end(), {c1, c2, end});
        reader.pixreaend();
        return view;
    }
};

}  // namespace

TEST(ConvertCommand, SamplesKeepPictureAndMetadataInEveryCompression) {
    const char* const samples[] = {"rgb8-photo-227x149-lzw-pred2-rps3.tif",
                                   "cmyk8-extra2-inknames-lzw-MM.tif",
                                   "bw-mw-g4-II.tif",
                                   "ps-cmyk-spots-paths-clip.tif",
                                   "gray8-mw-none-II.tif",
                                   "pal8-lzw-II.tif",
                                   "gray16-mb-none-MM.tif"};
    for (const char* sample : samples) {
        const std::string in = dataPath(std::string("tiff/") + sample);
        const LibTiffImage original = LibTiffImage::ReadFile(in, true);
        const bool palette = original.photometric == 3;
        const OurView ours = OurView::Of(in, palette ? -1 : -4);
        ASSERT_NE(ours.result, 1) << sample;
        for (const char* compression : {"none", "lzw", "packbits"}) {
            for (const char* order : {"II", "MM"}) {
                SCOPED_TRACE(std::string(sample) + " " + compression + " " + order);
                const std::string out = tempPath("converted.tif");
                ASSERT_EQ(convert("'" + in + "' '" + out + "' --compression " + compression +
                                  " --byte-order " + order + " --description 'converted'"),
                          0);
                const LibTiffImage written = LibTiffImage::ReadFile(out, true);
                for (const std::string& said : written.diagnostics)
                    EXPECT_NE(said.find("34032"), std::string::npos) << said;
                EXPECT_EQ(written.description, "converted");
                if (original.bitsPerSample == 8 || original.bitsPerSample == 1) {
                    EXPECT_EQ(written.rgba, original.rgba);
                }
                if (written.photometric == 2 && written.compression == 32773)
                    continue;  // no reader converter
                const OurView back = OurView::Of(out, palette ? -1 : -4);
                ASSERT_NE(back.result, 1);
                if (!palette) {
                    EXPECT_EQ(back.samples, ours.samples);
                }
                EXPECT_EQ(back.numerator * ours.denominator, ours.numerator * back.denominator);
                // Extra channels named only by their inks get those names in the file.
                std::vector<std::string> names = ours.names;
                for (std::size_t i = 0; i < names.size() && i < ours.inks.size(); ++i)
                    if (names[i].rfind("Channel ", 0) == 0) names[i] = ours.inks[i];
                if (!palette) {
                    EXPECT_EQ(back.names, names);
                }
                // Extra channels named without inks become separations with those names.
                const bool namedOnly = ours.inks.empty() && ours.names.size() > 4;
                EXPECT_EQ(back.inks, namedOnly ? ours.names : ours.inks);
                EXPECT_EQ(back.path, ours.path);
            }
        }
    }
}

TEST(ConvertCommand, ExitStatuses) {
    const std::string out = tempPath("x.tif");
    EXPECT_EQ(convert("'" + dataPath("tiff/bad-empty.tif") + "' '" + out + "'"), 1);
    EXPECT_EQ(convert("'" + dataPath("tiff/unsup-tiled.tif") + "' '" + out + "'"), 1);
    EXPECT_EQ(convert("'" + dataPath("tiff/gray8-mw-none-II.tif") + "' /nonexistent-folder/x.tif"),
              1);
    EXPECT_EQ(convert("'" + dataPath("tiff/gray8-mw-none-II.tif") + "'"), 2);
    EXPECT_EQ(convert("a.tif b.tif --compression zip"), 2);
    EXPECT_EQ(convert("a.tif b.tif --byte-order XX"), 2);
}
