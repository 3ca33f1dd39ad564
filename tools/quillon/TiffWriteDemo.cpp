// Demo step: writing TIFF files. Bundled samples are converted with each
// compression; every result is read back through the library's reader and
// compared with the rows of the sample.

#include <filesystem>
#include <ostream>
#include <vector>

#include "Demo.h"
#include "ImageOpener.h"
#include "TiffConversion.h"

namespace Quillon {

namespace {

const char* const kSamples[] = {"tiff/rgb8-photo-227x149-lzw-pred2-rps3.tif",
                                "tiff/cmyk8-extra2-inknames-lzw-MM.tif",
                                "tiff/ps-cmyk-spots-paths-clip.tif", "tiff/gray8-mw-none-II.tif"};

struct Compression {
    const char* name;
    QuillonCore::tifcompression code;
};
const Compression kCompressions[] = {{"none", QuillonCore::kTifCompressionNone},
                                     {"lzw", QuillonCore::kTifCompressionLzw},
                                     {"packbits", QuillonCore::kTifCompressionPackBits}};

// Every sample of every row, or empty when the file cannot be read that way.
std::vector<unsigned char> allSamples(const std::filesystem::path& path) {
    OpenedImage image;
    std::string error;
    std::vector<unsigned char> out;
    if (!ImageOpener::open(path.string(), image, error) || !image.reader) return out;
    int n = 0, d = 0, rows = 0, columns = 0;
    if (image.reader->pixreaini(&n, &d, &rows, &columns, -4, 0) == 1) return out;
    std::vector<unsigned char> row(static_cast<std::size_t>(columns) *
                                   image.reader->pixsamplesperpixel());
    while (image.reader->pixrealin(row.data(), static_cast<int>(row.size())) == 1)
        out.insert(out.end(), row.begin(), row.end());
    image.reader->pixreaend();
    return out;
}

bool convertSample(const std::filesystem::path& in, DemoContext& context) {
    const std::vector<unsigned char> original = allSamples(in);
    bool ok = !original.empty();
    context.out << "  " << in.filename().string() << " (" << std::filesystem::file_size(in)
                << " bytes)\n";
    for (const Compression& compression : kCompressions) {
        TiffConversionOptions options;
        options.compression = compression.code;
        options.description = "converted by quillon demo";
        const std::filesystem::path out =
            context.outputFolder / (in.stem().string() + "-" + compression.name + ".tif");
        std::string error;
        const bool written = TiffConversion::Convert(in.string(), out.string(), options, error);
        const std::vector<unsigned char> back =
            written ? allSamples(out) : std::vector<unsigned char>{};
        const bool same = back == original;
        context.out << "   " << compression.name << ": " << out.filename().string() << ", "
                    << (written ? std::to_string(std::filesystem::file_size(out)) + " bytes"
                                : error)
                    << (same ? ", reads back equal" : ", DIFFERS") << "\n";
        ok = ok && written && same;
    }
    return ok;
}

bool runTiffWriteDemo(DemoContext& context) {
    bool ok = true;
    for (const char* sample : kSamples)
        ok = convertSample(context.samplesFolder / sample, context) && ok;
    return ok;
}

const DemoStepRegistration kTiffWriteDemo{
    {"41-tiff-write", "Writing TIFF: samples converted with each compression and read back",
     runTiffWriteDemo}};

}  // namespace

}  // namespace Quillon
