#include "JpegExport.h"

#include <cmath>
#include <filesystem>
#include <functional>
#include <memory>
#include <stdexcept>

#include "EpsFileWriter.h"
#include "ImageOpener.h"
#include "JpegFeeder.h"
#include "platform/velsys/FileSpec.h"
#include "platform/velsys/fil.h"
#include "raster/output/genoutfil.h"
#include "raster/output/jpeghandler.h"
#include "raster/output/psjpeghandler.h"

namespace Quillon {

namespace {

struct OpenImage {
    OpenedImage opened;
    QuillonCore::pixreatyp* reader = nullptr;
    JpegFeeder feeder;
};

bool openInput(const std::string& path, OpenImage& image, std::string& error) {
    if (!ImageOpener::open(path, image.opened, error)) {
        error = "cannot open " + path + ": " + error;
        return false;
    }
    image.reader = image.opened.reader.get();
    if (!image.reader) {
        error = "no reader for a file of type " + image.opened.type;
        return false;
    }
    return image.feeder.prepare(*image.reader, error);
}

bool createOutput(const std::string& path, VelSys::fil& file, std::string& error) {
    VelSys::errtyp saveError;
    if (VelSys::saveFile(&file, &saveError, VelSys::FileSpec(path)) == 0) return true;
    error = "cannot create " + path + ": " + saveError.message;
    return false;
}

bool closeOutput(VelSys::fil& file, const std::string& path, std::string& error) {
    const bool written = VelSys::filerr(&file) == 0;
    file.Close();
    if (!written) error = "cannot write " + path;
    return written;
}

// Compresses every row through a handler; the handler's own results decide.
template <class Handler>
bool compressRows(OpenImage& image, Handler& handler, std::string& error) {
    if (handler.startcompression() != 0) {
        error = "the compressor cannot start";
        return false;
    }
    const bool fed = image.feeder.feed(
        *image.reader,
        [&handler](const unsigned char* bytes, std::size_t count) {
            return handler.handlebytes(bytes, count) == 0;
        },
        error);
    image.reader->pixreaend();
    if (handler.endcompression() != 0 && fed) error = "the compressed data cannot be written";
    return fed && error.empty();
}

void writeEpsHeader(EpsFileWriter& writer, bool ascii, double widthPt, double heightPt) {
    const std::string box = std::to_string(static_cast<int>(std::ceil(widthPt))) + " " +
                            std::to_string(static_cast<int>(std::ceil(heightPt)));
    writer.writeText("%!PS-Adobe-3.0 EPSF-3.0\n");
    writer.writeText(("%%BoundingBox: 0 0 " + box + "\n").c_str());
    writer.writeText(("%%HiResBoundingBox: 0 0 " + QuillonCore::genoutfil::formatNumber(widthPt) +
                      " " + QuillonCore::genoutfil::formatNumber(heightPt) + "\n")
                         .c_str());
    writer.writeText("%%Creator: quillon eps\n%%LanguageLevel: 2\n");
    writer.writeText(ascii ? "%%DocumentData: Clean7Bit\n" : "%%DocumentData: Binary\n");
    writer.writeText("%%Pages: 0\n%%EndComments\n");
    writer.writeText(("gsave\n" + QuillonCore::genoutfil::formatNumber(widthPt) + " " +
                      QuillonCore::genoutfil::formatNumber(heightPt) + " scale\n")
                         .c_str());
}

}  // namespace

int parseExportArguments(const Command& command, const std::vector<std::string>& args,
                         bool allowAscii, std::vector<std::string>& files,
                         JpegExportOptions& options) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--quality" && i + 1 < args.size() && !allowAscii) {
            try {
                std::size_t used = 0;
                options.quality = std::stoi(args[i + 1], &used);
                if (used != args[i + 1].size()) throw std::invalid_argument("trailing text");
            } catch (const std::exception&) {
                return usageError(command, "--quality needs a number from 1 to 100");
            }
            if (options.quality < 1 || options.quality > 100)
                return usageError(command, "--quality needs a number from 1 to 100");
            ++i;
        } else if (args[i] == "--ascii" && allowAscii) {
            options.ascii = true;
        } else if (!args[i].empty() && args[i][0] == '-') {
            return usageError(command, "unknown option '" + args[i] + "'");
        } else {
            files.push_back(args[i]);
        }
    }
    if (files.size() != 2) return usageError(command, "expected an input and an output file");
    return kExitSuccess;
}

namespace {

// Opens the input, creates the output, runs write and closes the output.
bool exportImage(const std::string& input, const std::string& output, std::string& error,
                 const std::function<bool(OpenImage&, VelSys::fil&)>& write) {
    OpenImage image;
    if (!openInput(input, image, error)) return false;
    VelSys::fil out;
    if (!createOutput(output, out, error)) return false;
    const bool written = write(image, out);
    return closeOutput(out, output, error) && written;
}

}  // namespace

bool writeJpegFile(const std::string& input, const std::string& output,
                   const JpegExportOptions& options, std::string& error) {
    return exportImage(input, output, error, [&](OpenImage& image, VelSys::fil& out) {
        const JpegFeeder& f = image.feeder;
        QuillonCore::jpeghandler handler(&out, f.colourType, f.columns, f.rows,
                                         f.resolutionNumerator, f.resolutionDenominator,
                                         options.quality, true);
        return compressRows(image, handler, error);
    });
}

bool writeEpsFile(const std::string& input, const std::string& output,
                  const JpegExportOptions& options, std::string& error) {
    return exportImage(input, output, error, [&](OpenImage& image, VelSys::fil& out) {
        const JpegFeeder& f = image.feeder;
        const double widthPt = 72.0 * f.columns / f.pixelsPerInch();
        const double heightPt = 72.0 * f.rows / f.pixelsPerInch();
        auto owned = std::make_unique<EpsFileWriter>(&out, options.ascii);
        EpsFileWriter& writer = *owned;
        writeEpsHeader(writer, options.ascii, widthPt, heightPt);
        QuillonCore::psjpeghandler handler(f.colourType, f.columns, f.rows, f.resolutionNumerator,
                                           f.resolutionDenominator, options.quality, true,
                                           std::move(owned));
        // The image maps the unit square, rows top to bottom.
        const double matrix[6] = {static_cast<double>(f.columns), 0, 0,
                                  -static_cast<double>(f.rows),   0, static_cast<double>(f.rows)};
        const bool binary = !options.ascii;
        writer.writeText(f.colourType == 5   ? "/DeviceCMYK setcolorspace\n"
                         : f.colourType == 2 ? "/DeviceRGB setcolorspace\n"
                                             : "/DeviceGray setcolorspace\n");
        // Stored CMYK samples are 255 - ink.
        handler.pswridic(f.colourType == 5, matrix, binary);
        const int countAt = handler.psbegbin(binary);
        writer.writeText("image\n");
        const bool compressed = compressRows(image, handler, error);
        handler.psendbin(binary, countAt);
        writer.writeText("grestore\n%%EOF\n");
        return compressed;
    });
}

}  // namespace Quillon
