// Demo step: reading bundled TIFF samples through the TIFF reader — their
// description, the RGB preview (written as a PPM picture), the run list of
// the bilevel version and one channel.

#include <fstream>
#include <ostream>
#include <vector>

#include "Demo.h"
#include "ImageOpener.h"
#include "platform/velsys/FileSpec.h"
#include "raster/input/tifreatyp.h"

namespace Quillon {

namespace {

const char* const kSamples[] = {"tiff/rgb8-photo-227x149-lzw-pred2-rps3.tif",
                                "tiff/cmyk8-extra2-inknames-lzw-MM.tif", "tiff/bw-mw-g4-II.tif",
                                "tiff/ps-cmyk-spots-paths-clip.tif"};

bool open(const std::filesystem::path& path, VelSys::fil& file) {
    return VelSys::openFile(&file, nullptr, VelSys::FileSpec(path.string())) == 0;
}

// The preview layout as a binary PPM.
bool writePreview(VelSys::fil& file, const std::filesystem::path& out, DemoContext& context) {
    QuillonCore::tifreatyp reader(&file);
    int n = 0, d = 0, rows = 0, columns = 0;
    if (reader.pixreaini(&n, &d, &rows, &columns, -1, 0) == 1) return false;
    std::ofstream ppm(out, std::ios::binary);
    ppm << "P6\n" << columns << " " << rows << "\n255\n";
    std::vector<unsigned char> row(4 * static_cast<std::size_t>(columns));
    const bool bytesFirst = reader.pixinterpretation() == 3 || reader.pixisbw();
    for (int y = 0; y < rows && reader.pixrealin(row.data(), static_cast<int>(row.size())) == 1;
         ++y)
        for (int x = 0; x < columns; ++x) {
            const unsigned char* p = &row[4 * x];
            // xRGB pixels put their zero byte first or last depending on the source (see
            // XrgbRow.h).
            const unsigned char rgb[3] = {bytesFirst ? p[2] : p[1], p[bytesFirst ? 1 : 2],
                                          bytesFirst ? p[0] : p[3]};
            ppm.write(reinterpret_cast<const char*>(rgb), 3);
        }
    context.out << "   preview " << columns << "x" << rows << " -> " << out.filename().string()
                << "\n";
    return static_cast<bool>(ppm);
}

void describe(VelSys::fil& file, DemoContext& context) {
    QuillonCore::tifreatyp reader(&file);
    int n = 0, d = 0, rows = 0, columns = 0;
    const int result = reader.pixreaini(&n, &d, &rows, &columns, -2, 0);
    context.out << "   " << columns << "x" << rows << ", " << reader.pixsamplesperpixel()
                << " samples of " << reader.pixbitspersample() << " bits, interpretation "
                << reader.pixinterpretation() << ", compression " << reader.pixcompression() << ", "
                << n << "/" << d << " ppi\n   channels:";
    for (int c = 0; c < reader.pixsamplesperpixel(); ++c) {
        std::string name;
        reader.getChannelName(c, name);
        context.out << " " << name;
    }
    context.out << (reader.GetClippingPath() ? "; has a clipping path" : "") << "\n";
    if (result == 1) return;
    std::vector<unsigned char> runs(4 * (static_cast<std::size_t>(columns) + 2));
    long runCount = 0;
    for (int y = 0; y < rows && reader.pixrealin(runs.data(), static_cast<int>(runs.size())) == 1;
         ++y)
        for (const unsigned char* p = runs.data();
             *reinterpret_cast<const std::int32_t*>(p) != 2147483647; p += 8)
            ++runCount;
    context.out << "   bilevel version: " << runCount << " black runs\n";
}

bool runTiffDemo(DemoContext& context) {
    bool ok = true;
    for (const char* sample : kSamples) {
        const std::filesystem::path path = context.samplesFolder / sample;
        VelSys::fil file;
        context.out << "  " << path.filename().string() << " ("
                    << (open(path, file) ? ImageOpener::typeOf(file) : "missing") << ")\n";
        if (!file.isOpen()) {
            ok = false;
            continue;
        }
        describe(file, context);
        ok &= writePreview(file, context.outputFolder / (path.stem().string() + ".ppm"), context);
    }
    return ok;
}

const DemoStepRegistration kTiffDemo{{"20-tiff-read", "Reading TIFF images", runTiffDemo}};

}  // namespace

}  // namespace Quillon
