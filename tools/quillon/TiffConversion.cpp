#include "TiffConversion.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "ImageOpener.h"
#include "platform/veldb/Object.h"
#include "platform/velsys/FileIO.h"
#include "raster/output/FileIOTiffOutStream.h"
#include "raster/output/LzwTiffFilter.h"
#include "raster/output/NoCompressionTiffFilter.h"
#include "raster/output/PackBitsTiffFilter.h"
#include "raster/output/TiffWriter.h"
#include "services/Status.h"

namespace Quillon {

namespace {

using QuillonCore::ColorspaceInfo;
using QuillonCore::pixreatyp;

// The reader places document coordinates of a file's clipping path from here.
constexpr long kPathOrigin = 5000000;

// What the reader delivers and how it goes into the file.
struct Source {
    int selector = -4;
    int width = 0, height = 0, numerator = 0, denominator = 0;
    int samples = 1;         // per pixel in the file
    int interpretation = 1;  // in the file
    bool bilevel = false;    // written as 1 bit per sample
    bool invert = false;     // the reader gives luminance; the file stores white as 0
};

int colourSamples(int interpretation) {
    return interpretation == 2 ? 3 : interpretation == 5 ? 4 : 1;
}

// Palette images have no all-samples layout: a look at the file (through the
// preview layout, which every image has) tells which layout to ask for.
bool isPalette(const std::string& path) {
    OpenedImage probe;
    std::string ignored;
    if (!ImageOpener::open(path, probe, ignored) || !probe.reader) return false;
    int n = 0, d = 0, rows = 0, columns = 0;
    const bool palette = probe.reader->pixreaini(&n, &d, &rows, &columns, -1, 0) != 1 &&
                         probe.reader->pixinterpretation() == 3;
    probe.reader->pixreaend();
    return palette;
}

bool prepare(pixreatyp& reader, Source& source, std::string& error) {
    if (reader.pixreaini(&source.numerator, &source.denominator, &source.height, &source.width,
                         source.selector, 0) == 1) {
        error = "the image cannot be read";
        return false;
    }
    const int interpretation = reader.pixinterpretation();
    source.interpretation = interpretation == 3 ? 2 : interpretation < 0 ? 1 : interpretation;
    source.samples = interpretation == 3 ? 3 : reader.pixsamplesperpixel();
    source.bilevel = reader.pixisbw() && source.samples == 1;
    source.invert = interpretation == 0;
    if (source.numerator <= 0 || source.denominator <= 0)
        source.numerator = 72, source.denominator = 1;
    return true;
}

// The reader's separations, or, for a file that names its extra channels
// without ink names, separations carrying those names (they are what keeps
// the names in the file).
ColorspaceInfo colourspaceOf(pixreatyp& reader, const Source& source) {
    if (const ColorspaceInfo* known = reader.getColorspaceInfo()) {
        ColorspaceInfo copy(*known);
        copy.setInterpretation(source.interpretation);
        return copy;
    }
    ColorspaceInfo colourspace(source.interpretation);
    if (source.interpretation == 2 || source.samples <= colourSamples(source.interpretation))
        return colourspace;
    for (int i = 0; i < source.samples; ++i) {
        QuillonCore::SeparationInfo separation;
        std::string name;
        reader.getChannelName(i, name);
        separation.setName(name);
        colourspace.addSeparation(separation);
    }
    return colourspace;
}

// A row of the reader's layout as the file stores it.
void shape(std::vector<unsigned char>& row, const Source& source) {
    if (source.selector == -1) {  // palette through the preview: native 32-bit R<<16 | G<<8 | B
        for (int x = 0; x < source.width; ++x) {
            const unsigned char* p = &row[4 * static_cast<std::size_t>(x)];
            const unsigned char rgb[3] = {p[2], p[1], p[0]};
            std::copy(rgb, rgb + 3, &row[3 * static_cast<std::size_t>(x)]);
        }
    }
    if (source.invert)
        for (unsigned char& b : row) b = static_cast<unsigned char>(255 - b);
    if (source.bilevel) QuillonCore::pixcompressto1bit(row.data(), source.width);
}

std::unique_ptr<QuillonCore::TiffFilter> filterFor(const TiffConversionOptions& options,
                                                   VelSys::FileIO& io) {
    auto stream = std::make_unique<QuillonCore::FileIOTiffOutStream>(io, options.byteOrder);
    switch (options.compression) {
        case QuillonCore::kTifCompressionLzw:
            return std::make_unique<QuillonCore::LzwTiffFilter>(std::move(stream));
        case QuillonCore::kTifCompressionPackBits:
            return std::make_unique<QuillonCore::PackBitsTiffFilter>(std::move(stream));
        default:
            return std::make_unique<QuillonCore::NoCompressionTiffFilter>(std::move(stream));
    }
}

bool copyRows(pixreatyp& reader, const Source& source, QuillonCore::TiffWriter& writer,
              std::string& error) {
    const int layoutSamples = source.selector == -1 ? 4 : source.samples;
    std::vector<unsigned char> row(static_cast<std::size_t>(source.width) * layoutSamples);
    QuillonCore::Status status(1, u"Converting");
    for (int y = 0; y < source.height; ++y) {
        int delivered = 0;
        try {
            delivered = reader.pixrealin(row.data(), static_cast<int>(row.size()));
        } catch (int) {
            delivered = 0;
        }
        if (delivered != 1 || reader.pixfailed()) {
            error = "row " + std::to_string(y) + " cannot be read";
            return false;
        }
        shape(row, source);
        if (!writer.Write(row.data(), static_cast<unsigned long>(source.width))) break;
        status.Notify(double(y + 1) / source.height);
    }
    return true;
}

}  // namespace

bool TiffConversion::Convert(const std::string& in, const std::string& out,
                             const TiffConversionOptions& options, std::string& error) {
    OpenedImage image;
    if (!ImageOpener::open(in, image, error)) return false;
    if (!image.reader) {
        error = "no reader for a file of type " + image.type;
        return false;
    }
    Source source;
    source.selector = isPalette(in) ? -1 : -4;
    if (!prepare(*image.reader, source, error)) return false;
    VelSys::FileIO io;
    if (!io.Create(out)) {
        error = "cannot create " + out;
        return false;
    }
    bool read = true, failed = false;
    {
        QuillonCore::TiffWriter writer(
            filterFor(options, io), static_cast<unsigned long>(source.width),
            static_cast<unsigned long>(source.height), source.bilevel ? 1 : 8,
            static_cast<unsigned long>(source.samples), colourspaceOf(*image.reader, source),
            static_cast<unsigned long>(source.numerator),
            static_cast<unsigned long>(source.denominator), 0, 1, image.reader->GetClippingPath(),
            kPathOrigin, kPathOrigin, options.software, options.description);
        read = copyRows(*image.reader, source, writer, error);
        writer.Flush();
        failed = writer.Failed();
    }
    image.reader->pixreaend();
    if (!io.Close() || (read && failed)) error = "cannot write " + out;
    return error.empty();
}

}  // namespace Quillon
