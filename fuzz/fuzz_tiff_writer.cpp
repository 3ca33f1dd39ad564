// Feeds arbitrary images to TiffWriter: widths, heights, sample counts, bit
// depths, colour spaces, separations, clipping paths, byte orders and every
// compression, with the rows taken from the input. Invalid parameters must
// be refused cleanly; a valid 8-bit image must read back through the
// library's TIFF reader with the very rows written.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "platform/veldb/DocumentSettings.h"
#include "platform/veldb/Path.h"
#include "platform/velsys/FileIO.h"
#include "platform/velsys/fil.h"
#include "raster/input/tifreatyp.h"
#include "raster/output/FileIOTiffOutStream.h"
#include "raster/output/LzwTiffFilter.h"
#include "raster/output/NoCompressionTiffFilter.h"
#include "raster/output/PackBitsTiffFilter.h"
#include "raster/output/TiffOutputHeader.h"
#include "raster/output/TiffWriter.h"

using namespace QuillonCore;

namespace {

void check(bool condition, const char* what) {
    if (condition) return;
    std::fprintf(stderr, "broken: %s\n", what);
    std::abort();
}

// Bytes of the input one after the other, then zeros.
class Input {
  public:
    Input(const std::uint8_t* data, std::size_t size) : mData(data), mSize(size) {}
    std::uint8_t next() { return mAt < mSize ? mData[mAt++] : 0; }
    std::uint8_t rest(std::size_t i) const {
        return mAt < mSize ? mData[mAt + i % (mSize - mAt)] : 0;
    }

  private:
    const std::uint8_t* mData;
    std::size_t mSize, mAt = 0;
};

struct Image {
    unsigned long width, height, bits, samples;
    int interpretation;
    tifcompression compression;
    int order;
    bool valid;    // a sound 8-bit image: must be written
    bool checked;  // and readable by the reader: compare the rows
};

Image imageOf(Input& in) {
    Image image{};
    image.width = 1 + in.next() % 64;
    image.height = 1 + in.next() % 16;
    const std::uint8_t shape = in.next();
    const std::uint8_t colour = in.next();
    static const tifcompression kCompressions[] = {kTifCompressionNone, kTifCompressionLzw,
                                                   kTifCompressionPackBits};
    image.compression = kCompressions[in.next() % 3];
    image.order = shape & 1;
    if (colour & 0x80) {  // anything at all
        static const int kInterpretations[] = {-1, 0, 1, 2, 3, 4, 5, 6};
        static const unsigned long kBits[] = {0, 1, 2, 3, 4, 8, 12, 16, 32};
        image.interpretation = kInterpretations[colour % 8];
        image.bits = kBits[(shape >> 1) % 9];
        image.samples = (shape >> 4) * 5;
        return image;
    }
    static const int kValid[] = {1, 2, 5};
    static const unsigned long kColours[] = {1, 3, 4};
    const int kind = colour % 3;
    image.interpretation = kValid[kind];
    image.bits = 8;
    image.samples = kColours[kind] + (shape >> 1) % 5;
    image.valid = true;
    image.checked = !(image.interpretation == 2 && image.compression == kTifCompressionPackBits);
    return image;
}

ColorspaceInfo colourspaceOf(Input& in, const Image& image) {
    ColorspaceInfo colorspace(image.interpretation);
    const int separations = in.next() % 10;
    for (int i = 0; i < separations; ++i) {
        SeparationInfo separation;
        std::string name;
        for (int n = in.next() % 6; n > 0; --n) name += static_cast<char>(in.next());
        separation.setName(name);
        separation.mC = in.next();
        separation.mK = in.next();
        colorspace.addSeparation(separation);
    }
    return colorspace;
}

VelDB::Path* pathOf(Input& in) {
    const int points = in.next() % 8;
    if (points == 0) return nullptr;
    VelDB::Path* path = VelDB::patbeg();
    for (int i = 0; i < points; ++i) {
        const int a = (in.next() << 8 | in.next()) * 97, b = (in.next() << 8 | in.next()) * 89;
        if (in.next() & 1)
            VelDB::patbez(path, a / 2, b, a, b / 3, a + 7, b - 5);
        else
            VelDB::patlin(path, a, b);
        if (in.next() % 4 == 0) VelDB::patendclo(path);
    }
    return path;
}

std::unique_ptr<TiffFilter> filterFor(tifcompression compression, VelSys::FileIO& sink, int order) {
    auto stream = std::make_unique<FileIOTiffOutStream>(sink, order);
    if (compression == kTifCompressionLzw)
        return std::make_unique<LzwTiffFilter>(std::move(stream));
    if (compression == kTifCompressionPackBits)
        return std::make_unique<PackBitsTiffFilter>(std::move(stream));
    return std::make_unique<NoCompressionTiffFilter>(std::move(stream));
}

void readBack(const std::vector<unsigned char>& file, const Image& image,
              const std::vector<unsigned char>& pixels) {
    VelSys::fil handle;
    handle.openMemory(file);
    tifreatyp reader(&handle);
    int numerator = 0, denominator = 0, rows = 0, columns = 0;
    check(reader.pixreaini(&numerator, &denominator, &rows, &columns, -4, 0) == 0,
          "reader refuses our file");
    check(rows == static_cast<int>(image.height) && columns == static_cast<int>(image.width),
          "size");
    const std::size_t rowBytes = image.width * image.samples;
    std::vector<unsigned char> row(rowBytes);
    for (unsigned long y = 0; y < image.height; ++y) {
        check(reader.pixrealin(row.data(), static_cast<int>(row.size())) == 1, "row missing");
        check(std::equal(row.begin(), row.end(),
                         pixels.begin() + static_cast<std::ptrdiff_t>(y * rowBytes)),
              "row differs");
    }
    reader.pixreaend();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Input in(data, size);
    const Image image = imageOf(in);
    const ColorspaceInfo colorspace = colourspaceOf(in, image);
    std::unique_ptr<VelDB::Path, void (*)(VelDB::Object*)> path(pathOf(in), VelDB::objrem);
    const std::uint64_t rowBytes = TiffRowBytes(image.width, image.samples, image.bits);
    std::vector<unsigned char> pixels(static_cast<std::size_t>(rowBytes * image.height));
    for (std::size_t i = 0; i < pixels.size(); ++i) pixels[i] = in.rest(i);

    VelSys::FileIO sink;
    bool written = true;
    {
        TiffWriter writer(filterFor(image.compression, sink, image.order), image.width,
                          image.height, image.bits, image.samples, colorspace, 300, 1, 0, 1,
                          path.get(), 0, 0, "fuzz", "image");
        for (unsigned long y = 0; y < image.height; ++y)
            written = writer.Write(pixels.data() + y * rowBytes, image.width) && written;
        writer.Flush();
        written = written && !writer.Failed();
    }
    if (image.valid) check(written, "a valid image failed");
    if (!written) check(sink.contents().empty(), "a refused image left bytes");
    if (image.checked) readBack(sink.contents(), image, pixels);
    return 0;
}
